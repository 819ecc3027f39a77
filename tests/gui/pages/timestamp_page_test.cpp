#include "gui/pages/timestamp_page_widget.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QTest>

#include "core/methods/timestamps.h"
#include "core/platform/clock.h"
#include "gui/qt_text.h"
#include "gui_test_support.h"

using soramine::TimestampPage;
using soramine::gui::qs;
using soramine::gui::TimestampPageWidget;
using soramine::testing::clickButton;
using soramine::testing::named;
using soramine::testing::typeText;

class TimestampPageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void boxesEnableTheirControls();
    void creationTimeStaysOffWhereItCannotBeSet();
    void pickersAndStepReachTheCorePage();

  private:
    std::unique_ptr<soramine::testing::PageUnderTest<TimestampPage, TimestampPageWidget>> test_;
    TimestampPage* core_ = nullptr;
    TimestampPageWidget* page_ = nullptr;
};

void TimestampPageTest::init() {
    test_ =
        std::make_unique<soramine::testing::PageUnderTest<TimestampPage, TimestampPageWidget>>(6);
    core_ = test_->core;
    page_ = &test_->page;
}

void TimestampPageTest::boxesEnableTheirControls() {
    soramine::testing::saveScreenshot(page_, QStringLiteral("timestamp_page"));
    auto* modified = named<QCheckBox>(page_, "更新日時(H)");
    auto* useStep = named<QCheckBox>(page_, "日時を増減する(I)");
    QVERIFY(modified->isChecked());  // the INI default
    QVERIFY(named<QDateTimeEdit>(page_, "更新日")->isEnabled());
    QVERIFY(!useStep->isChecked());
    QVERIFY(!named<QLineEdit>(page_, "増減値")->isEnabled());
    clickButton(modified);
    QVERIFY(!named<QDateTimeEdit>(page_, "更新日")->isEnabled());
    QVERIFY(!named<QDateTimeEdit>(page_, "更新時刻")->isEnabled());
    clickButton(useStep);
    QVERIFY(named<QLineEdit>(page_, "増減値")->isEnabled());
    page_->takeSettings();
    QCOMPARE(core_->settings.setModified, 0);
    QCOMPARE(core_->settings.useStep, 1);
}

void TimestampPageTest::creationTimeStaysOffWhereItCannotBeSet() {
    if (TimestampPage::canSetCreated())
        QSKIP("this system can set the creation time");
    auto* created = named<QCheckBox>(page_, "作成日時(E)");
    QVERIFY(!created->isEnabled());
    QVERIFY(!created->isChecked());
    QVERIFY(!named<QDateTimeEdit>(page_, "作成日")->isEnabled());
    QVERIFY(!named<QDateTimeEdit>(page_, "作成時刻")->isEnabled());
    // The stored "作成日時" = 1 stays as it is, and a run is not refused for it.
    page_->takeSettings();
    QCOMPARE(core_->settings.setCreated, 1);
    soramine::RunContext run;
    QVERIFY(!core_->validate(run));
}

void TimestampPageTest::pickersAndStepReachTheCorePage() {
    clickButton(named<QCheckBox>(page_, "日時を増減する(I)"));
    auto* step = named<QLineEdit>(page_, "増減値");
    step->selectAll();
    typeText(step, "-60");
    auto* date = named<QDateTimeEdit>(page_, "更新日");
    auto* time = named<QDateTimeEdit>(page_, "更新時刻");
    date->setFocus();
    date->setDate(QDate(2010, 1, 23));
    time->setTime(QTime(4, 56, 0));
    page_->takeSettings();
    QCOMPARE(qs(core_->settings.step), QStringLiteral("-60"));
    const auto expected = soramine::platform::fromLocalTime({2010, 1, 23, 4, 56, 0});
    QCOMPARE(soramine::combinedMoment(core_->settings.modifiedDate, core_->settings.modifiedTime),
             expected->seconds);
}

QTEST_MAIN(TimestampPageTest)
#include "timestamp_page_test.moc"
