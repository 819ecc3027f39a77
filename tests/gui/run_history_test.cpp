// The window's undo through the journals: the offer to undo a run that did not finish, and the
// run history driven by keys.

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/engine/journal.h"
#include "core/methods/method_list.h"
#include "core/text/utf.h"
#include "gui/dialogs/run_history_dialog.h"
#include "gui/main_window.h"
#include "gui_fixture.h"
#include "support/temp_dir.h"

using namespace soramine;

namespace {

// A window whose settings folder (and so its journals) is a temporary folder, over a folder of
// files.
struct Fixture {
    testing::TempDir config;
    testing::TempDir files;
    RenameSession session{IniFile(config.folder() + u"ソラミネ.ini"), makeMethodTable()};
    HistoryMap histories;
    testing::ScriptedPrompts prompts;
    std::unique_ptr<gui::MainWindow> window;

    Fixture() {
        ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
        window = std::make_unique<gui::MainWindow>(session, histories, prompts);
        window->show();
    }
    ~Fixture() { ::unsetenv("XDG_CONFIG_HOME"); }

    std::filesystem::path undoFolder() const { return config.path() / "soramine" / "undo"; }
    // A journal of renames (from, to) that all succeeded, with the files renamed on disk.
    // With `killed`, its end is what a killed run leaves: zeros after the last record.
    void journal(const char* name, std::vector<std::pair<const char*, const char*>> renames,
                 bool killed = false) {
        std::string bytes =
            journalHeader({1700000000 + static_cast<int>(renames.size()), 0}, files.folder());
        for (const auto& [from, to] : renames) {
            files.write(to, from);
            bytes += journalIntent(files.folder() + text::fromUtf8(from),
                                   files.folder() + text::fromUtf8(to)) +
                     std::string(kJournalDone);
        }
        if (killed)
            bytes += std::string(3000, '\0');
        std::filesystem::create_directories(undoFolder());
        std::filesystem::permissions(undoFolder(), std::filesystem::perms::owner_all);
        const auto path = undoFolder() / name;
        std::ofstream(path, std::ios::binary) << bytes;
        std::filesystem::permissions(
            path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    }
    std::size_t journals() const {
        return static_cast<std::size_t>(
            std::distance(std::filesystem::directory_iterator(undoFolder()), {}));
    }
};

// Sends a key to whatever has the focus.
void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), k, modifiers);
}

// Runs `steps` once the modal dialog opened by `open` is up.
void withDialog(const std::function<void()>& open, const std::function<void(QDialog&)>& steps) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        QTRY_VERIFY(qobject_cast<QDialog*>(QApplication::activeModalWidget()));
        QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        dialog->activateWindow();
        QTRY_VERIFY(dialog->isActiveWindow() && QApplication::focusWidget());
        steps(*dialog);
        ran = true;
        // A step that failed leaves the dialog open: closed, so that the test goes on.
        if (dialog && dialog->isVisible())
            dialog->reject();
    });
    open();
    QVERIFY(ran);
}

}  // namespace

class RunHistoryTest : public QObject {
    Q_OBJECT
  private slots:
    void anUnfinishedRunIsOfferedOnce();
    void historyDrivenByKeys();
};

void RunHistoryTest::anUnfinishedRunIsOfferedOnce() {
    struct Case {
        bool answer;
        bool namesBack;
    };
    for (const Case c : {Case{true, true}, Case{false, false}}) {
        Fixture f;
        f.journal("run-20231114-000000-000001-m1.journal", {{"a", "b"}, {"c", "d"}}, true);
        f.journal("run-20231114-000000-000002.journal", {{"x", "y"}});  // finished: not offered
        f.prompts.answers = {c.answer};
        f.window->offerUnfinishedUndo();
        QCOMPARE(f.prompts.questions.size(), 1u);
        const QString question = gui::qs(f.prompts.questions[0].text);
        QVERIFY2(question.contains(QStringLiteral("最後まで終わっていません")) &&
                     question.contains(QStringLiteral("方式: 置換")) &&
                     question.contains(QStringLiteral("2 件")),
                 qPrintable(question));
        QCOMPARE(f.files.exists("a") && f.files.exists("c"), c.namesBack);
        QCOMPARE(f.files.exists("b") || f.files.exists("d"), !c.namesBack);
        QVERIFY(f.files.exists("y"));
        f.window->offerUnfinishedUndo();
        QCOMPARE(f.prompts.questions.size(), 1u);  // asked once; a "No" leaves it in the history
        QCOMPARE(f.journals(), c.answer ? 1u : 2u);
    }
}

void RunHistoryTest::historyDrivenByKeys() {
    Fixture f;
    f.journal("run-20231114-000000-000001-m0.journal", {{"old", "older"}});
    f.journal("run-20231114-000000-000002-m1.journal", {{"a", "b"}, {"c", "d"}});
    f.files.write("c", "a newcomer under the old name");
    QString renames;
    withDialog([&] { f.window->showRunHistory(); },
               [&](QDialog& dialog) {
                   auto* list = dialog.findChild<QTreeWidget*>();
                   QCOMPARE(QApplication::focusWidget(), list);
                   QCOMPARE(list->topLevelItemCount(), 2);
                   // Newest first: the run of two renames started a second later.
                   QCOMPARE(list->topLevelItem(0)->text(2), QStringLiteral("置換"));
                   QCOMPARE(list->topLevelItem(0)->text(3), QStringLiteral("2"));
                   QCOMPARE(list->topLevelItem(0)->text(4), QStringLiteral("はい (1 件)"));
                   QCOMPARE(list->topLevelItem(1)->text(2), QStringLiteral("連番"));
                   testing::saveScreenshot(dialog, QStringLiteral("run_history"));
                   key(Qt::Key_Down);
                   key(Qt::Key_Up);
                   QCOMPARE(list->currentItem(), list->topLevelItem(0));
                   key(Qt::Key_Tab);
                   QCOMPARE(QApplication::focusWidget()->accessibleName() +
                                qobject_cast<QAbstractButton*>(QApplication::focusWidget())->text(),
                            QStringLiteral("変更内容(&D)..."));
                   withDialog([] { key(Qt::Key_Space); },
                              [&](QDialog& shown) {
                                  renames = shown.findChild<QPlainTextEdit*>()->toPlainText();
                                  key(Qt::Key_Escape);
                              });
                   QTRY_VERIFY(QApplication::activeModalWidget() == &dialog &&
                               dialog.isActiveWindow() && QApplication::focusWidget());
                   key(Qt::Key_Tab);
                   QCOMPARE(qobject_cast<QAbstractButton*>(QApplication::focusWidget())->text(),
                            QStringLiteral("元に戻す(&U)"));
                   key(Qt::Key_Space);
               });
    QCOMPARE(renames, QStringLiteral("a → b\nc → d\n"));
    // b went back; c's old name is taken again, so d stays and the log says why.
    QVERIFY(f.files.exists("a") && !f.files.exists("b") && f.files.exists("d"));
    QCOMPARE(f.files.read("c"), std::string("a newcomer under the old name"));
    const QString log =
        f.window->findChild<QPlainTextEdit*>(QStringLiteral("logPanel"))->toPlainText();
    QVERIFY2(log.contains(QStringLiteral("同名ファイルが存在します")), qPrintable(log));
    QCOMPARE(f.journals(), 2u);  // what could not go back stays recorded
}

QTEST_MAIN(RunHistoryTest)
#include "run_history_test.moc"
