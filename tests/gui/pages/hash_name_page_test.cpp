#include "gui/pages/hash_name_page_widget.h"

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "core/methods/hash_name.h"
#include "gui_test_support.h"

using soramine::HashNamePage;
using soramine::gui::HashNamePageWidget;
using soramine::testing::clickButton;
using soramine::testing::named;

class HashNamePageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void controlsSetTheCorePage();
    void addModeIsAnnounced();

  private:
    std::unique_ptr<soramine::testing::PageUnderTest<HashNamePage, HashNamePageWidget>> test_;
    HashNamePage* core_ = nullptr;
    HashNamePageWidget* page_ = nullptr;
};

void HashNamePageTest::init() {
    test_ = std::make_unique<soramine::testing::PageUnderTest<HashNamePage, HashNamePageWidget>>(9);
    core_ = test_->core;
    page_ = &test_->page;
}

void HashNamePageTest::controlsSetTheCorePage() {
    // The defaults: the digest is the name, CRC-32, upper case, no enclosure.
    QVERIFY(named<QRadioButton>(page_, "ハッシュ値からファイル名を作成(E)")->isChecked());
    QVERIFY(named<QRadioButton>(page_, "CRC32")->isChecked());
    QVERIFY(named<QRadioButton>(page_, "大文字(J)")->isChecked());
    auto* enclosure = named<QComboBox>(page_, "囲み(P):");
    QCOMPARE(enclosure->count(), 5);
    QCOMPARE(enclosure->currentText(), QStringLiteral("なし"));
    soramine::testing::saveScreenshot(page_, QStringLiteral("hash_name_page"));

    page_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(page_));
    clickButton(named<QRadioButton>(page_, "SHA-1"));
    clickButton(named<QRadioButton>(page_, "小文字(L)"));
    enclosure->setFocus();
    QCOMPARE(QApplication::focusWidget(), enclosure);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    page_->takeSettings();
    QCOMPARE(core_->settings.kind, 2);
    QCOMPARE(core_->settings.lowercase, 1);
    QCOMPARE(core_->settings.enclosure, 3);
    QCOMPARE(enclosure->currentText(), QStringLiteral("「」で囲む"));

    // Values from a settings file show as they are.
    core_->settings = {1, 1, 0, 4};
    page_->showSettings();
    QVERIFY(named<QRadioButton>(page_, "ハッシュ値を追加(I)")->isChecked());
    QVERIFY(named<QRadioButton>(page_, "MD5")->isChecked());
    QVERIFY(named<QRadioButton>(page_, "大文字(J)")->isChecked());
    QCOMPARE(enclosure->currentText(), QStringLiteral("【】で囲む"));
}

void HashNamePageTest::addModeIsAnnounced() {
    QSignalSpy announced(page_, &HashNamePageWidget::addModeChanged);
    clickButton(named<QRadioButton>(page_, "ハッシュ値を追加(I)"));
    QCOMPARE(announced.count(), 1);
    QVERIFY(core_->usesAddText());
    clickButton(named<QRadioButton>(page_, "ハッシュ値からファイル名を作成(E)"));
    QCOMPARE(announced.count(), 2);
    QVERIFY(!core_->usesAddText());
}

QTEST_MAIN(HashNamePageTest)
#include "hash_name_page_test.moc"
