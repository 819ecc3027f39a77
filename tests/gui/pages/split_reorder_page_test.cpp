#include "gui/pages/split_reorder_page_widget.h"

#include <QApplication>
#include <QTest>

#include "core/methods/split_reorder.h"
#include "gui/qt_text.h"
#include "gui/widgets/history_combo_box.h"
#include "gui_test_support.h"

using soramine::SplitReorderPage;
using soramine::gui::HistoryComboBox;
using soramine::gui::SplitReorderPageWidget;
using soramine::testing::MessageCatcher;
using soramine::testing::named;

class SplitReorderPageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void previewFollowsWhatIsTyped_data();
    void previewFollowsWhatIsTyped();
    void orderLosesForbiddenCharactersButKeepsBrackets();

  private:
    HistoryComboBox* split() { return named<HistoryComboBox>(page_, "区切り設定(E):"); }
    HistoryComboBox* order() { return named<HistoryComboBox>(page_, "並び替え設定(H):"); }
    void typeAt(char key, const QString& text) {
        soramine::testing::typeAtAccessKey(page_, key, text);
    }
    QString preview(const QString& name) {
        page_->takeSettings();
        return soramine::testing::previewOneItem(*test_->session, 11, test_->dir.path(), name);
    }

    std::unique_ptr<soramine::testing::PageUnderTest<SplitReorderPage, SplitReorderPageWidget>>
        test_;
    SplitReorderPageWidget* page_ = nullptr;
};

void SplitReorderPageTest::init() {
    test_ = std::make_unique<
        soramine::testing::PageUnderTest<SplitReorderPage, SplitReorderPageWidget>>(11);
    page_ = &test_->page;
    page_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(page_));
}

void SplitReorderPageTest::previewFollowsWhatIsTyped_data() {
    QTest::addColumn<QString>("split");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("result");
    QTest::newRow("defaults") << "5-5-5"
                              << "3-2-1"
                              << "abcdefghijklmno.txt"
                              << "klmnofghijabcde.txt";
    QTest::newRow("date") << "4-2-2"
                          << "3-2-1"
                          << "20240131.jpg"
                          << "31012024.jpg";
    QTest::newRow("rest and added text") << "3-*"
                                         << "2-<_>1"
                                         << "IMG_0001.png"
                                         << "_0001_IMG.png";
    QTest::newRow("too short") << "5-5"
                               << "1"
                               << "abc.txt"
                               << "ファイル名を区切れません";
    QTest::newRow("invalid") << "2-*-*"
                             << "1"
                             << "abc.txt"
                             << "設定が不正です";
}

void SplitReorderPageTest::previewFollowsWhatIsTyped() {
    QFETCH(QString, split);
    QFETCH(QString, order);
    QFETCH(QString, name);
    QFETCH(QString, result);
    if (QTest::currentDataTag() == QByteArrayLiteral("defaults"))
        soramine::testing::saveScreenshot(page_, QStringLiteral("split_reorder_page"));
    typeAt('e', split);
    typeAt('h', order);
    QCOMPARE(this->split()->currentText(), split);
    QCOMPARE(this->order()->currentText(), order);
    QCOMPARE(preview(name), result);
}

void SplitReorderPageTest::orderLosesForbiddenCharactersButKeepsBrackets() {
    MessageCatcher catcher;
    typeAt('h', QStringLiteral("1<a:b>"));
    QCOMPARE(order()->currentText(), QStringLiteral("1<ab>"));
    QCOMPARE(catcher.messages,
             QStringList{QStringLiteral("エラー: ファイル名に \"/ ? * \" | \\ : \" は使えません")});
    // The message box took the focus; the page gets it back.
    page_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(page_));
    typeAt('e', QStringLiteral("1:"));
    QCOMPARE(split()->currentText(), QStringLiteral("1:"));  // the split text is not watched
    QCOMPARE(catcher.messages.size(), 1);
    QCOMPARE(preview(QStringLiteral("xy.txt")), QStringLiteral("xab.txt"));
}

QTEST_MAIN(SplitReorderPageTest)
#include "split_reorder_page_test.moc"
