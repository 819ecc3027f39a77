#include "gui/pages/extension_page_widget.h"

#include <QRadioButton>
#include <QTest>

#include "core/methods/extension.h"
#include "gui/qt_text.h"
#include "gui/widgets/history_combo_box.h"
#include "gui_test_support.h"

using soramine::ExtensionPage;
using soramine::gui::ExtensionPageWidget;
using soramine::gui::HistoryComboBox;
using soramine::gui::qs;
using soramine::testing::clickButton;
using soramine::testing::MessageCatcher;
using soramine::testing::named;
using soramine::testing::typeText;

class ExtensionPageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void typedExtensionGivesThePreview();
    void modeEnablesTheNewExtension();
    void forbiddenCharactersAreRepairedWhileTyping_data();
    void forbiddenCharactersAreRepairedWhileTyping();

  private:
    HistoryComboBox* box() { return named<HistoryComboBox>(page_, "変更後の拡張子(H):"); }

    std::unique_ptr<soramine::testing::PageUnderTest<ExtensionPage, ExtensionPageWidget>> test_;
    ExtensionPage* core_ = nullptr;
    ExtensionPageWidget* page_ = nullptr;
};

void ExtensionPageTest::init() {
    test_ =
        std::make_unique<soramine::testing::PageUnderTest<ExtensionPage, ExtensionPageWidget>>(5);
    core_ = test_->core;
    page_ = &test_->page;
}

void ExtensionPageTest::typedExtensionGivesThePreview() {
    QCOMPARE(box()->currentText(), QStringLiteral("After"));
    box()->clearEditText();
    typeText(box(), "..png");
    page_->takeSettings();
    const QStringList names{QStringLiteral("photo.jpg"), QStringLiteral("README"),
                            QStringLiteral("a.PNG")};
    QCOMPARE(soramine::testing::previewNames(*test_->session, 5, names),
             (QStringList{QStringLiteral("photo.png"), QStringLiteral("README...png"),
                          QStringLiteral("a.png")}));
    soramine::testing::saveScreenshot(page_, QStringLiteral("extension_page"));

    clickButton(named<QRadioButton>(page_, "小文字を大文字へ(J)"));
    QCOMPARE(soramine::testing::previewNames(*test_->session, 5, names),
             (QStringList{QStringLiteral("photo.JPG"), QStringLiteral("拡張子がありません"),
                          QStringLiteral("変更無し")}));
}

void ExtensionPageTest::modeEnablesTheNewExtension() {
    QVERIFY(box()->isEnabled());
    clickButton(named<QRadioButton>(page_, "大文字を小文字へ(I)"));
    QCOMPARE(core_->settings.mode, 1);
    QVERIFY(!box()->isEnabled());
    clickButton(named<QRadioButton>(page_, "拡張子を変更する(E)"));
    QVERIFY(box()->isEnabled());
}

void ExtensionPageTest::forbiddenCharactersAreRepairedWhileTyping_data() {
    QTest::addColumn<bool>("fullWidth");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("messages");
    QTest::newRow("plain") << false << "tar.gz"
                           << "tar.gz" << 0;
    QTest::newRow("asterisk and backslash deleted") << false << "j*p\\g"
                                                    << "jpg" << 2;
    QTest::newRow("widened") << true << "a:b*"
                             << "a：b＊" << 0;
}

void ExtensionPageTest::forbiddenCharactersAreRepairedWhileTyping() {
    QFETCH(bool, fullWidth);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, messages);
    test_->session->detail.fullWidthForbidden = fullWidth ? 1 : 0;
    box()->clearEditText();
    MessageCatcher catcher;
    typeText(box(), typed);
    QCOMPARE(box()->currentText(), shown);
    QCOMPARE(catcher.messages.size(), messages);
    if (messages)
        QCOMPARE(catcher.messages.front(),
                 QStringLiteral("エラー: ファイル名に \"/ ? * \" < > | \\ : \" は使えません"));
}

QTEST_MAIN(ExtensionPageTest)
#include "extension_page_test.moc"
