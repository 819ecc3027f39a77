#include "gui/pages/date_page_widget.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "core/methods/date_in_name.h"
#include "gui/qt_text.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/history_combo_box.h"
#include "gui_test_support.h"

using soramine::DatePage;
using soramine::gui::DatePageWidget;
using soramine::gui::HistoryComboBox;
using soramine::gui::qs;
using soramine::testing::clickButton;
using soramine::testing::MessageCatcher;
using soramine::testing::named;
using soramine::testing::typeText;

class DatePageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void sampleFollowsWhatIsTyped_data();
    void sampleFollowsWhatIsTyped();
    void anEntryPickedFromTheListNamesTheFolderInFull();
    void formatLosesForbiddenCharacters();
    void choicesReachTheCorePage();

  private:
    HistoryComboBox* format() {
        return named<HistoryComboBox>(page_, "形式(M): Y-年 M-月 D-日 h-時 m-分 s-秒");
    }
    QString sample() { return page_->sampleLine()->text(); }

    std::unique_ptr<soramine::testing::PageUnderTest<DatePage, DatePageWidget>> test_;
    DatePage* core_ = nullptr;
    DatePageWidget* page_ = nullptr;
};

void DatePageTest::init() {
    test_ = std::make_unique<soramine::testing::PageUnderTest<DatePage, DatePageWidget>>(7);
    core_ = test_->core;
    page_ = &test_->page;
}

void DatePageTest::sampleFollowsWhatIsTyped_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("sample");
    QTest::newRow("compact") << "YYYYMMDD_hhmmss"
                             << "20100123_045600";
    QTest::newRow("short") << "YY-M-D h時"
                           << "10-1-23 4時";
    QTest::newRow("folder") << "\\_YYYY"
                            << "[FN]_2010";
}

void DatePageTest::sampleFollowsWhatIsTyped() {
    QFETCH(QString, format);
    QFETCH(QString, sample);
    QCOMPARE(this->sample(), QStringLiteral("2010年01月23日、04時56分00秒"));
    if (QTest::currentDataTag() == QByteArrayLiteral("compact"))
        soramine::testing::saveScreenshot(page_, QStringLiteral("date_page"));
    this->format()->clearEditText();
    typeText(this->format(), format);
    QCOMPARE(this->sample(), sample);
    page_->takeSettings();
    QCOMPARE(qs(core_->format.text), format);
}

void DatePageTest::anEntryPickedFromTheListNamesTheFolderInFull() {
    core_->format.entries = {u"\\-YYYY", u"MM"};
    page_->showSettings();
    HistoryComboBox* box = format();
    box->showPopup();
    QAbstractItemView* view = box->view();
    view->setCurrentIndex(box->model()->index(0, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(box->currentText(), QStringLiteral("\\-YYYY"));
    QCOMPARE(sample(), QStringLiteral("[フォルダ名]-2010"));
}

void DatePageTest::formatLosesForbiddenCharacters() {
    format()->clearEditText();
    MessageCatcher catcher;
    typeText(format(), "hh:mm");
    QCOMPARE(format()->currentText(), QStringLiteral("hhmm"));
    QCOMPARE(sample(), QStringLiteral("0456"));
    QCOMPARE(
        catcher.messages,
        QStringList{QStringLiteral("エラー: ファイル名に \"/ ? * \" < > | : \" は使えません")});
}

void DatePageTest::choicesReachTheCorePage() {
    QSignalSpy announced(page_, &DatePageWidget::addModeChanged);
    clickButton(named<QRadioButton>(page_, "日時を追加(H)"));
    QCOMPARE(announced.count(), 1);
    QCOMPARE(core_->settings.addMode, 1);
    QVERIFY(core_->usesAddText());
    clickButton(named<QRadioButton>(page_, "Exif情報の撮影日時から作成(L)"));
    page_->takeSettings();
    QCOMPARE(core_->settings.source, 2);
    clickButton(named<QRadioButton>(page_, "タイムスタンプからファィル名を変更(E)"));
    QCOMPARE(announced.count(), 2);
    QVERIFY(!core_->usesAddText());
}

QTEST_MAIN(DatePageTest)
#include "date_page_test.moc"
