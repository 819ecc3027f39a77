#include "gui/pages/script_page_widget.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "core/engine/engine_fixture.h"
#include "core/engine/preview.h"
#include "core/methods/script.h"
#include "gui/qt_text.h"
#include "gui_test_support.h"

using soramine::ScriptPage;
using soramine::gui::qs;
using soramine::gui::ScriptPageWidget;
using soramine::gui::u16;
using soramine::testing::named;
using soramine::testing::typeText;

class ScriptPageTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void typedScriptPreviews();
    void templatesGoToTheCaret();

  private:
    QPlainTextEdit* script() { return named<QPlainTextEdit>(page_, "スクリプト"); }

    std::unique_ptr<soramine::testing::PageUnderTest<ScriptPage, ScriptPageWidget>> test_;
    ScriptPage* core_ = nullptr;
    ScriptPageWidget* page_ = nullptr;
};

void ScriptPageTest::init() {
    test_ = std::make_unique<soramine::testing::PageUnderTest<ScriptPage, ScriptPageWidget>>(13);
    core_ = test_->core;
    page_ = &test_->page;
}

void ScriptPageTest::typedScriptPreviews() {
    QCOMPARE(script()->toPlainText(), QStringLiteral("<置換前文字>→<置換後文字>\n"));
    soramine::testing::saveScreenshot(page_, QStringLiteral("script_page"));
    script()->selectAll();
    script()->setFocus();
    typeText(script(), QStringLiteral("<a>→<b>"));
    QTest::keyClick(script(), Qt::Key_Return);
    typeText(script(), QStringLiteral("<\\AF>x"));
    QTest::keyClick(script(), Qt::Key_Return);
    typeText(script(), QStringLiteral("oops"));
    page_->takeSettings();
    QCOMPARE(qs(core_->settings.script), QStringLiteral("<a>→<b>\r\n<\\AF>x\r\noops"));

    QVERIFY(test_->session->changeItems([&](soramine::ItemTable& table) {
        soramine::Row row;
        row.name = u"banana.txt";
        row.folder = u16(test_->dir.path()) + u"/";
        table.append(std::move(row));
    }));
    test_->session->settings.methodIndex = 13;
    soramine::testing::FakeHost host;
    soramine::QuietObserver quiet;
    const auto preview = soramine::previewRun(*test_->session, host, quiet);
    QCOMPARE(preview.previewNew.size(), std::size_t{1});
    QCOMPARE(qs(preview.previewNew[0]), QStringLiteral("xbbnbnb.txt"));
}

void ScriptPageTest::templatesGoToTheCaret() {
    script()->clear();
    named<QPushButton>(page_, "置換: <変更前>→<変更後>")->click();
    named<QPushButton>(page_, "拡張子前に追加: <\\AB>追加文字")->click();
    QCOMPARE(qs(core_->settings.script), QStringLiteral("<>→<>\r\n<\\AB>\r\n"));
    script()->selectAll();
    named<QPushButton>(page_, "更新日時変更: <\\TC>変更日時")->click();
    const QRegularExpression timeCode(
        QStringLiteral("^<\\\\TC>\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\r\\n$"));
    QVERIFY2(timeCode.match(qs(core_->settings.script)).hasMatch(),
             qPrintable(qs(core_->settings.script)));
    QVERIFY(soramine::scriptTime(core_->settings.script.substr(5, 19)).has_value());
}

QTEST_MAIN(ScriptPageTest)
#include "script_page_test.moc"
