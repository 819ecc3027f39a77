#include "gui/pages/add_text_page_widget.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "core/methods/add_text.h"
#include "gui/qt_text.h"
#include "gui/widgets/history_combo_box.h"
#include "gui_test_support.h"

using soramine::AddTextPage;
using soramine::gui::AddTextPageWidget;
using soramine::gui::HistoryComboBox;
using soramine::gui::qs;
using soramine::testing::clickButton;
using soramine::testing::MessageCatcher;
using soramine::testing::named;
using soramine::testing::typeText;

class AddTextPageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void positionEnablesItsChoices_data();
    void positionEnablesItsChoices();
    void typingUpdatesTheCorePage();
    void twoWidgetsOnOneCorePageAgree();

  private:
    std::unique_ptr<soramine::testing::PageUnderTest<AddTextPage, AddTextPageWidget>> test_;
    AddTextPage* core_ = nullptr;
    AddTextPageWidget* page_ = nullptr;
};

void AddTextPageTest::init() {
    test_ = std::make_unique<soramine::testing::PageUnderTest<AddTextPage, AddTextPageWidget>>(2);
    core_ = test_->core;
    page_ = &test_->page;
}

void AddTextPageTest::positionEnablesItsChoices_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("extensionChoices");
    QTest::addColumn<bool>("countingChoices");
    QTest::newRow("head") << "先頭に追加(H)" << 0 << false << false;
    QTest::newRow("end") << "末尾に追加(I)" << 1 << true << false;
    QTest::newRow("position") << "指定の位置(M)" << 2 << false << true;
}

void AddTextPageTest::positionEnablesItsChoices() {
    QFETCH(QString, where);
    QFETCH(int, value);
    QFETCH(bool, extensionChoices);
    QFETCH(bool, countingChoices);
    clickButton(named<QRadioButton>(page_, where));
    QCOMPARE(core_->settings.where, value);
    for (const char* name : {"拡張子の前(J)", "最後尾(L)"})
        QCOMPARE(named<QRadioButton>(page_, name)->isEnabled(), extensionChoices);
    for (const char* name : {"先頭から(P)", "末尾から(Q)"})
        QCOMPARE(named<QRadioButton>(page_, name)->isEnabled(), countingChoices);
    QCOMPARE(named<QLineEdit>(page_, "文字目の次に追加(T)")->isEnabled(), countingChoices);
}

void AddTextPageTest::typingUpdatesTheCorePage() {
    auto* text = named<HistoryComboBox>(page_, "追加文字(E):");
    QCOMPARE(text->currentText(), QStringLiteral("add"));
    text->clearEditText();
    MessageCatcher catcher;
    typeText(text, "\\-済*");
    QCOMPARE(catcher.messages.size(), 1);
    clickButton(named<QRadioButton>(page_, "指定の位置(M)"));
    clickButton(named<QRadioButton>(page_, "末尾から(Q)"));
    auto* offset = named<QLineEdit>(page_, "文字目の次に追加(T)");
    offset->selectAll();
    typeText(offset, "4");
    page_->takeSettings();
    QCOMPARE(qs(core_->addText.text), QStringLiteral("\\-済"));
    QCOMPARE(core_->settings.where, 2);
    QCOMPARE(core_->settings.fromTail, 1);
    QCOMPARE(qs(core_->settings.offset), QStringLiteral("4"));
    soramine::testing::saveScreenshot(page_, QStringLiteral("add_text_page"));
}

void AddTextPageTest::twoWidgetsOnOneCorePageAgree() {
    AddTextPageWidget second(*core_, *test_->session, nullptr);
    auto* text = named<HistoryComboBox>(page_, "追加文字(E):");
    text->clearEditText();
    typeText(text, "_v2");
    clickButton(named<QRadioButton>(page_, "末尾に追加(I)"));
    page_->hide();
    second.show();
    QCOMPARE(named<HistoryComboBox>(&second, "追加文字(E):")->currentText(), QStringLiteral("_v2"));
    QVERIFY(named<QRadioButton>(&second, "末尾に追加(I)")->isChecked());
    QVERIFY(named<QRadioButton>(&second, "拡張子の前(J)")->isEnabled());
}

QTEST_MAIN(AddTextPageTest)
#include "add_text_page_test.moc"
