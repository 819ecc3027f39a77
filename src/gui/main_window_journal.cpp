// The main window's undo through the journals: the undo of a run, the offer at start-up to
// undo a run that did not finish, and the run history.

#include <QPlainTextEdit>
#include <QPushButton>

#include "core/engine/journal.h"
#include "core/engine/undo.h"
#include "gui/dialogs/progress_dialog.h"
#include "gui/dialogs/run_history_dialog.h"
#include "gui/item_list_model.h"
#include "gui/main_window.h"
#include "gui/prompts.h"
#include "gui/qt_text.h"

namespace soramine::gui {

void MainWindow::runUndo(UndoJob job) {
    if (job.lease.held())
        runItemLoop(this, [&](RunObserver& observer) { undoItems(job, observer); });
    const UndoResult result = finishUndo(session_, std::move(job));
    model_->refreshRows();
    showLog();
    if (result.message)
        showMessage(*result.message);
    else
        showStatus(result.cancelled ? QStringLiteral("元に戻す処理を中止しました。")
                                    : QStringLiteral("元に戻しました。"));
    afterRun();
}

void MainWindow::undoJournalRun(const std::u16string& path) {
    readControls();
    closeJournal();
    // The journal of the last run is the button's record: once undone here, the button has
    // nothing left to give back.
    if (session_.undoRecord().journal == path)
        session_.discardUndo();
    runUndo(startJournalUndo(session_, path));
}

QString MainWindow::methodName(int index) const {
    const MethodPage* page = index >= 0 && static_cast<std::size_t>(index) < session_.methods.size()
                                 ? session_.methods.page(index)
                                 : nullptr;
    return page ? qs(page->comboText()) : QStringLiteral("-");
}

void MainWindow::offerUnfinishedUndo() {
    for (const JournalInfo& run : listJournals()) {
        if (!run.unfinished)
            continue;
        const auto whole = readJournal(run.path);
        const std::size_t count = renamedItems(whole ? *whole : run.journal);
        const QString question =
            QStringLiteral(
                "前回の実行は最後まで終わっていません (プログラムの強制終了、停電など)。\n\n"
                "日時: %1\nフォルダ: %2\n方式: %3\n名前を変更した項目: %4 件\n\n"
                "この実行を元に戻して、元の名前に戻しますか?\n"
                "(「いいえ」でも、後で「実行履歴」から元に戻せます)")
                .arg(runStartText(run.journal), qs(run.journal.folder), methodName(run.method))
                .arg(count);
        if (prompts_.askYesNo(this, Message{question.toStdU16String(), u"確認", Icon::Question}))
            undoJournalRun(run.path);
        // Asked once: what is left stays in the history.
        settleJournal(run.path);
    }
}

void MainWindow::closeJournal() {
    if (!journal_.close())
        showMessage(errorMessage(u"元に戻す記録を書き込めませんでした: " + journal_.path()));
}

void MainWindow::showRunHistory() {
    readControls();
    closeJournal();
    RunHistoryDialog dialog(
        listJournals(), [this](int index) { return methodName(index); }, this);
    if (dialog.exec() == QDialog::Accepted && dialog.chosenRun())
        undoJournalRun(*dialog.chosenRun());
}

}  // namespace soramine::gui
