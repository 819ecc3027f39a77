#include "gui/pages/replace_page_widget.h"

#include <algorithm>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "core/methods/replace.h"
#include "gui/qt_text.h"
#include "gui/widgets/history_combo_box.h"
#include "gui_test_support.h"

using soramine::ReplacePage;
using soramine::gui::HistoryComboBox;
using soramine::gui::qs;
using soramine::gui::ReplacePageWidget;
using soramine::testing::clickButton;
using soramine::testing::MessageCatcher;
using soramine::testing::named;
using soramine::testing::typeText;

namespace {

const QString kSearchMessage =
    QStringLiteral("エラー: ファイル名に \"/ ? \" < > | \\ : \" は使えません");
const QString kReplacementMessage =
    QStringLiteral("エラー: ファイル名に \"/ ? * \" < > | : \" は使えません");

}  // namespace

class ReplacePageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void typingUpdatesTheCorePage();
    void modeEnablesItsControls();
    void forbiddenCharactersAreRepairedWhileTyping_data();
    void forbiddenCharactersAreRepairedWhileTyping();
    void theCaretGoesBackWhereTheDeletedCharacterWas();
    void positionFallsBackToOne();
    void aRegularExpressionKeepsEveryCharacter();

  private:
    std::unique_ptr<soramine::testing::PageUnderTest<ReplacePage, ReplacePageWidget>> test_;
    ReplacePage* core_ = nullptr;
    ReplacePageWidget* page_ = nullptr;
};

void ReplacePageTest::init() {
    test_ = std::make_unique<soramine::testing::PageUnderTest<ReplacePage, ReplacePageWidget>>(1);
    core_ = test_->core;
    page_ = &test_->page;
}

void ReplacePageTest::typingUpdatesTheCorePage() {
    auto* search = named<HistoryComboBox>(page_, "変更前の文字(I):");
    auto* replacement = named<HistoryComboBox>(page_, "変更後の文字(E):");
    QCOMPARE(search->currentText(), QStringLiteral("new"));
    QCOMPARE(replacement->currentText(), QStringLiteral("after"));
    search->clearEditText();
    typeText(search, "IMG*");
    replacement->clearEditText();
    typeText(replacement, "写真_\\");
    clickButton(named<QCheckBox>(page_, "大文字、小文字を区別する(J)"));
    clickButton(named<QCheckBox>(page_, "拡張子を無視する(P)"));
    page_->takeSettings();
    QCOMPARE(qs(core_->search.text), QStringLiteral("IMG*"));
    QCOMPARE(qs(core_->replacement.text), QStringLiteral("写真_\\"));
    QCOMPARE(core_->settings.caseSensitive, 0);
    QCOMPARE(core_->settings.ignoreExtension, 0);

    core_->settings.caseSensitive = 1;
    core_->search.text = u"loaded";
    page_->showSettings();
    QVERIFY(named<QCheckBox>(page_, "大文字、小文字を区別する(J)")->isChecked());
    QCOMPARE(search->currentText(), QStringLiteral("loaded"));
    soramine::testing::saveScreenshot(page_, QStringLiteral("replace_page"));
}

void ReplacePageTest::modeEnablesItsControls() {
    auto* search = named<HistoryComboBox>(page_, "変更前の文字(I):");
    auto* caseBox = named<QCheckBox>(page_, "大文字、小文字を区別する(J)");
    auto* position = named<QLineEdit>(page_, "変更位置(M):");
    QVERIFY(search->isEnabled() && caseBox->isEnabled() && !position->isEnabled());
    clickButton(named<QRadioButton>(page_, "位置で置換する(L)"));
    QCOMPARE(core_->settings.mode, 1);
    QVERIFY(!search->isEnabled() && !caseBox->isEnabled() && position->isEnabled());
    clickButton(named<QRadioButton>(page_, "文字を置換する(H)"));
    QCOMPARE(core_->settings.mode, 0);
    QVERIFY(search->isEnabled() && !position->isEnabled());
}

void ReplacePageTest::forbiddenCharactersAreRepairedWhileTyping_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("fullWidth");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("messages");
    const QString search = QStringLiteral("変更前の文字(I):");
    const QString replacement = QStringLiteral("変更後の文字(E):");
    QTest::newRow("search keeps the wildcard") << search << false << "a*b"
                                               << "a*b" << QStringList{};
    QTest::newRow("search loses a slash") << search << false << "a/b"
                                          << "ab" << QStringList{kSearchMessage};
    QTest::newRow("search loses a backslash") << search << false << "a\\b"
                                              << "ab" << QStringList{kSearchMessage};
    QTest::newRow("replacement keeps the folder sign") << replacement << false << "a\\b"
                                                       << "a\\b" << QStringList{};
    QTest::newRow("replacement loses an asterisk") << replacement << false << "a*b"
                                                   << "ab" << QStringList{kReplacementMessage};
    QTest::newRow("full width, no message") << search << true << "a:b|c"
                                            << "a：b｜c" << QStringList{};
    QTest::newRow("full width quotation mark") << replacement << true << "\"x\""
                                               << "”x”" << QStringList{};
}

void ReplacePageTest::forbiddenCharactersAreRepairedWhileTyping() {
    QFETCH(QString, box);
    QFETCH(bool, fullWidth);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QStringList, messages);
    test_->session->detail.fullWidthForbidden = fullWidth ? 1 : 0;
    auto* combo = named<HistoryComboBox>(page_, box);
    combo->clearEditText();
    MessageCatcher catcher;
    typeText(combo, typed);
    QCOMPARE(combo->currentText(), shown);
    QCOMPARE(catcher.messages, messages);
}

void ReplacePageTest::theCaretGoesBackWhereTheDeletedCharacterWas() {
    auto* combo = named<HistoryComboBox>(page_, "変更後の文字(E):");
    combo->setEditText(QStringLiteral("abcd"));
    combo->lineEdit()->setCursorPosition(2);
    MessageCatcher catcher;
    typeText(combo, "?");
    QCOMPARE(combo->currentText(), QStringLiteral("abcd"));
    QCOMPARE(combo->lineEdit()->cursorPosition(), 2);
    QCOMPARE(catcher.messages.size(), 1);
}

void ReplacePageTest::positionFallsBackToOne() {
    clickButton(named<QRadioButton>(page_, "位置で置換する(L)"));
    auto* position = named<QLineEdit>(page_, "変更位置(M):");
    position->selectAll();
    typeText(position, "12");
    QCOMPARE(position->text(), QStringLiteral("12"));
    position->selectAll();
    QTest::keyClick(position, Qt::Key_Backspace);
    QCOMPARE(position->text(), QStringLiteral("1"));
    position->selectAll();
    typeText(position, "0");
    QCOMPARE(position->text(), QStringLiteral("1"));
    page_->takeSettings();
    QCOMPARE(qs(core_->settings.position), QStringLiteral("1"));
}

// With the box on, the search text is a pattern: "\", "|" and "?" stay, nothing is said, the
// hint names the expressions; off again, the box repairs as before.
void ReplacePageTest::aRegularExpressionKeepsEveryCharacter() {
    auto* search = named<HistoryComboBox>(page_, "変更前の文字(I):");
    auto* regex = named<QCheckBox>(page_, "正規表現(Q)");
    QVERIFY(!regex->isChecked());
    clickButton(regex);
    QCOMPARE(core_->settings.regex, 1);
    MessageCatcher messages;
    search->clearEditText();
    typeText(search, "^(\\d+)|x?$");
    QCOMPARE(search->currentText(), QStringLiteral("^(\\d+)|x?$"));
    QVERIFY(messages.messages.isEmpty());
    const auto labels = page_->findChildren<QLabel*>();
    QVERIFY(std::any_of(labels.begin(), labels.end(), [](QLabel* label) {
        return label->text() == QStringLiteral("※正規表現が使えます");
    }));
    soramine::testing::saveScreenshot(page_, QStringLiteral("replace_page_regex"));

    clickButton(regex);
    QCOMPARE(core_->settings.regex, 0);
    search->clearEditText();
    typeText(search, "a|b");
    QCOMPARE(search->currentText(), QStringLiteral("ab"));
    QCOMPARE(messages.messages, QStringList{kSearchMessage});

    clickButton(named<QRadioButton>(page_, "位置で置換する(L)"));
    QVERIFY(!regex->isEnabled());
}

QTEST_MAIN(ReplacePageTest)
#include "replace_page_test.moc"
