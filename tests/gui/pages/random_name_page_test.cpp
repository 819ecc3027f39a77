#include "gui/pages/random_name_page_widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QUrl>

#include "core/methods/random_name.h"
#include "gui/qt_text.h"
#include "gui/widgets/history_combo_box.h"
#include "gui_test_support.h"

using soramine::RandomNamePage;
using soramine::gui::HistoryComboBox;
using soramine::gui::RandomNamePageWidget;
using soramine::testing::clickButton;
using soramine::testing::MessageCatcher;
using soramine::testing::named;
using soramine::testing::typeText;

class RandomNamePageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void previewFollowsWhatIsTyped();
    void theLastClassCannotBeCleared();
    void wordsFromAFileTypedOrDropped();
    void addModeIsAnnounced();

  private:
    QCheckBox* check(const char* caption) { return named<QCheckBox>(page_, caption); }
    HistoryComboBox* wordsFile() { return named<HistoryComboBox>(page_, "ファイル名"); }
    void typeAt(char key, const QString& text) {
        soramine::testing::typeAtAccessKey(page_, key, text);
    }
    QString preview(const QString& name) {
        page_->takeSettings();
        return soramine::testing::previewOneItem(*test_->session, 10, test_->dir.path(), name);
    }

    std::unique_ptr<soramine::testing::PageUnderTest<RandomNamePage, RandomNamePageWidget>> test_;
    RandomNamePage* core_ = nullptr;
    RandomNamePageWidget* page_ = nullptr;
};

void RandomNamePageTest::init() {
    test_ =
        std::make_unique<soramine::testing::PageUnderTest<RandomNamePage, RandomNamePageWidget>>(
            10);
    core_ = test_->core;
    page_ = &test_->page;
    page_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(page_));
}

void RandomNamePageTest::previewFollowsWhatIsTyped() {
    QCOMPARE(named<QSpinBox>(page_, "文字セット数(I):")->value(), 5);
    QVERIFY(!wordsFile()->isEnabled());
    soramine::testing::saveScreenshot(page_, QStringLiteral("random_name_page"));
    QRegularExpression fiveOfAll(QStringLiteral("^[0-9a-zA-Z]{5}\\.jpg$"));
    QVERIFY2(fiveOfAll.match(preview(QStringLiteral("photo.jpg"))).hasMatch(),
             qPrintable(preview(QStringLiteral("photo.jpg"))));

    typeAt('i', QStringLiteral("12"));
    clickButton(check("小文字[a～z](L)"));
    clickButton(check("大文字[A～Z](M)"));
    const QString digits = preview(QStringLiteral("photo.jpg"));
    QVERIFY2(QRegularExpression(QStringLiteral("^[0-9]{12}\\.jpg$")).match(digits).hasMatch(),
             qPrintable(digits));
    QCOMPARE(core_->settings.count, 12);

    // The box keeps to 1..255 whatever is typed.
    typeAt('i', QStringLiteral("999"));
    page_->takeSettings();
    QVERIFY(core_->settings.count <= soramine::kMaxRandomCount);
}

void RandomNamePageTest::theLastClassCannotBeCleared() {
    clickButton(check("数字[0～9](J)"));
    clickButton(check("小文字[a～z](L)"));
    MessageCatcher catcher;
    clickButton(check("大文字[A～Z](M)"));
    QCOMPARE(catcher.messages, QStringList{QStringLiteral("エラー: どれか一つは選択して下さい。")});
    QVERIFY(check("大文字[A～Z](M)")->isChecked());
    page_->takeSettings();
    QCOMPARE(core_->settings.upperCase, 1);
}

void RandomNamePageTest::wordsFromAFileTypedOrDropped() {
    QFile words(test_->dir.filePath(QStringLiteral("words.TXT")));
    QVERIFY(words.open(QIODevice::WriteOnly));
    words.write("cat\r\n");
    words.close();

    // The access key of a check box focuses and clicks it.
    QTest::keyClick(page_, 'p', Qt::AltModifier);
    QVERIFY(check("文字列(P)")->hasFocus());
    QTRY_VERIFY(check("文字列(P)")->isChecked());
    QVERIFY(wordsFile()->isEnabled());
    QVERIFY(named<QPushButton>(page_, "...")->isEnabled());
    QVERIFY(!check("数字[0～9](J)")->isEnabled());
    wordsFile()->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    typeText(QApplication::focusWidget(), test_->dir.filePath(QStringLiteral("none.txt")));
    QCOMPARE(preview(QStringLiteral("a.jpg")), QStringLiteral("テキストファイルが不正です"));

    const auto drop = [&](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        // A drop goes to the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(page_, &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(page_, &drop);
    };
    const QUrl file = QUrl::fromLocalFile(words.fileName());
    drop({file, file});                              // two files: ignored
    drop({QUrl::fromLocalFile(test_->dir.path())});  // a folder: ignored
    QCOMPARE(wordsFile()->currentText(), test_->dir.filePath(QStringLiteral("none.txt")));
    drop({file});
    QCOMPARE(wordsFile()->currentText(), words.fileName());
    QCOMPARE(preview(QStringLiteral("a.jpg")), QStringLiteral("catcatcatcatcat.jpg"));
    soramine::testing::saveScreenshot(page_, QStringLiteral("random_name_page_words"));
}

void RandomNamePageTest::addModeIsAnnounced() {
    QSignalSpy announced(page_, &RandomNamePageWidget::addModeChanged);
    clickButton(named<QRadioButton>(page_, "ランダム文字を追加(H)"));
    QCOMPARE(announced.count(), 1);
    QVERIFY(core_->usesAddText());
    clickButton(named<QRadioButton>(page_, "ランダム文字からファイル名を作成(E)"));
    QCOMPARE(announced.count(), 2);
    QVERIFY(!core_->usesAddText());
}

QTEST_MAIN(RandomNamePageTest)
#include "random_name_page_test.moc"
