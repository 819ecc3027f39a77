#include "gui/pages/numbering_page_widget.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "core/methods/numbering.h"
#include "gui/qt_text.h"
#include "gui/widgets/elided_label.h"
#include "gui/widgets/history_combo_box.h"
#include "gui_test_support.h"

using soramine::NumberingPage;
using soramine::gui::HistoryComboBox;
using soramine::gui::NumberingPageWidget;
using soramine::gui::qs;
using soramine::testing::clickButton;
using soramine::testing::MessageCatcher;
using soramine::testing::named;
using soramine::testing::typeText;

class NumberingPageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void sampleFollowsWhatIsTyped_data();
    void sampleFollowsWhatIsTyped();
    void digitCountGrowsToFitTheStartNumber();
    void patternLosesForbiddenCharacters();
    void addModeIsAnnounced();
    void longSampleIsCutNotWidened();

  private:
    QLineEdit* start() { return named<QLineEdit>(page_, "開始番号(M):"); }
    HistoryComboBox* pattern() { return named<HistoryComboBox>(page_, "変更名(L):"); }
    QComboBox* digits() { return named<QComboBox>(page_, "桁数(P):"); }
    QString sample() { return page_->sampleLine()->text(); }

    std::unique_ptr<soramine::testing::PageUnderTest<NumberingPage, NumberingPageWidget>> test_;
    NumberingPage* core_ = nullptr;
    NumberingPageWidget* page_ = nullptr;
};

void NumberingPageTest::init() {
    test_ =
        std::make_unique<soramine::testing::PageUnderTest<NumberingPage, NumberingPageWidget>>(0);
    core_ = test_->core;
    page_ = &test_->page;
}

void NumberingPageTest::sampleFollowsWhatIsTyped_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("sample");
    QTest::newRow("default") << "Sample_*" << 0 << "1"
                             << "Sample_001";
    QTest::newRow("no asterisk appends") << "trip" << 0 << "1"
                                         << "trip001";
    QTest::newRow("folder and number twice") << "\\_*_*" << 0 << "7"
                                             << "(FN)_007_007";
    QTest::newRow("letters") << "x*" << 1 << "28"
                             << "x0AA";
    QTest::newRow("kanji") << "x*" << 2 << "120"
                           << "x一二〇";
    QTest::newRow("leading zeros widen") << "*" << 0 << "0001"
                                         << "0001";
}

void NumberingPageTest::sampleFollowsWhatIsTyped() {
    QFETCH(QString, pattern);
    QFETCH(int, kind);
    QFETCH(QString, start);
    QFETCH(QString, sample);
    QCOMPARE(this->sample(), QStringLiteral("Sample_001"));
    this->pattern()->clearEditText();
    typeText(this->pattern(), pattern);
    named<QComboBox>(page_, "文字の種類(I):")->setCurrentIndex(kind);
    this->start()->selectAll();
    typeText(this->start(), start);
    QCOMPARE(this->sample(), sample);
    page_->takeSettings();
    QCOMPARE(qs(core_->pattern.text), pattern);
    QCOMPARE(core_->settings.kind, kind);
    QCOMPARE(qs(core_->settings.start), start);
    if (QTest::currentDataTag() == QByteArrayLiteral("default"))
        soramine::testing::saveScreenshot(page_, QStringLiteral("numbering_page"));
}

void NumberingPageTest::digitCountGrowsToFitTheStartNumber() {
    start()->selectAll();
    typeText(start(), "12345");
    QCOMPARE(digits()->currentIndex(), 4);
    QCOMPARE(sample(), QStringLiteral("Sample_12345"));
    typeText(start(), "6789");
    QCOMPARE(digits()->currentIndex(), 8);
    MessageCatcher catcher;
    typeText(start(), "0");
    QCOMPARE(catcher.messages, QStringList{QStringLiteral("エラー: 桁数が設定範囲以上です")});
    QCOMPARE(start()->text(), QStringLiteral("123456789"));
    QCOMPARE(digits()->currentIndex(), 8);
    QCOMPARE(sample(), QStringLiteral("Sample_123456789"));
    QCOMPARE(qs(core_->settings.start), QStringLiteral("123456789"));
    QCOMPARE(core_->settings.digits, 8);
}

void NumberingPageTest::patternLosesForbiddenCharacters() {
    pattern()->clearEditText();
    MessageCatcher catcher;
    typeText(pattern(), "a:*");
    QCOMPARE(pattern()->currentText(), QStringLiteral("a*"));
    QCOMPARE(sample(), QStringLiteral("a001"));
    QCOMPARE(catcher.messages,
             QStringList{QStringLiteral("エラー: ファイル名に \"/ ? \" < > | : \" は使えません")});
}

void NumberingPageTest::addModeIsAnnounced() {
    QSignalSpy announced(page_, &NumberingPageWidget::addModeChanged);
    clickButton(named<QRadioButton>(page_, "連番を追加(H)"));
    QCOMPARE(announced.count(), 1);
    QVERIFY(core_->usesAddText());
    clickButton(named<QRadioButton>(page_, "連番からファイル名を作成(E)"));
    QCOMPARE(announced.count(), 2);
    QVERIFY(!core_->usesAddText());
}

void NumberingPageTest::longSampleIsCutNotWidened() {
    page_->resize(page_->sizeHint());
    page_->show();
    const int width = page_->minimumSizeHint().width();
    const QString tip = page_->sampleLine()->toolTip();
    const QString longName(250, QChar(u'長'));
    pattern()->clearEditText();
    pattern()->setEditText(longName);
    QApplication::processEvents();
    QCOMPARE(sample(), longName + QStringLiteral("001"));  // the label keeps the whole text
    QCOMPARE(page_->minimumSizeHint().width(), width);
    QVERIFY(page_->sampleLine()->width() <= page_->width());
    QVERIFY(page_->sampleLine()->elided());
    QCOMPARE(page_->sampleLine()->toolTip(), tip + QStringLiteral("\n") + sample());
    soramine::testing::saveScreenshot(page_, QStringLiteral("numbering_page_long_name"));

    pattern()->setEditText(QStringLiteral("short"));
    QApplication::processEvents();
    QVERIFY(!page_->sampleLine()->elided());
    QCOMPARE(page_->sampleLine()->toolTip(), tip);
}

QTEST_MAIN(NumberingPageTest)
#include "numbering_page_test.moc"
