// The main window's runs (preview, execution, undo) and its saved-settings files.

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/engine/execute.h"
#include "core/engine/folder_maker.h"
#include "core/engine/journal.h"
#include "core/engine/preview.h"
#include "core/engine/undo.h"
#include "core/settings/settings_file.h"
#include "gui/dialogs/folder_layout_dialog.h"
#include "gui/dialogs/log_dialog.h"
#include "gui/dialogs/preview_dialog.h"
#include "gui/dialogs/progress_dialog.h"
#include "gui/item_list_model.h"
#include "gui/main_window.h"
#include "gui/pages/method_page_widget.h"
#include "gui/prompts.h"
#include "gui/qt_text.h"
#include "gui/widgets/history_combo_box.h"

namespace soramine::gui {

void MainWindow::preview() {
    readControls();
    PreviewJob job = startPreview(session_, host_);
    if (job.plan.runnable())
        runItemLoop(this, [&](RunObserver& observer) { previewItems(job, observer); });
    const PreviewResult result = finishPreview(std::move(job));
    if (result.message)
        showMessage(*result.message);
    if (!result.previewOld.empty()) {
        PreviewDialog dialog(result, this);
        dialog.exec();
    }
    afterRun();
}

void MainWindow::execute() {
    readControls();
    if (session_.settings.folderCreation)
        return makeFolders();
    closeJournal();
    undoButton_->setEnabled(false);
    const std::u16string destination = session_.settings.destination;
    ExecutionJob job = startExecution(session_, host_);
    const bool ran = job.plan.runnable();
    const size_t runCount = job.plan.rows.size();
    // Every rename is in the undo journal before it is tried, so that a window killed during
    // the run can still give the names back.
    const bool journalled = ran && journalling_;
    if (journalled) {
        if (auto problem = startJournal(journal_, session_)) {
            job.plan.lease.release();
            showMessage(*problem);
            afterRun();
            return;
        }
    }
    bool journalFailed = false;
    if (ran)
        runItemLoop(this, [&](RunObserver& observer) {
            // The result is shown while the journal's own thread does its last flush.
            JournallingObserver journalling(journal_, observer,
                                            JournallingObserver::LastFlush::kInBackground);
            executeItems(job, journalled ? static_cast<RunObserver&>(journalling) : observer);
            journalFailed = journalling.failed();
        });
    const ExecuteResult result = finishExecution(session_, std::move(job), host_);
    if (journalled)
        endJournal(journal_, session_);
    if (journalFailed)
        showMessage(errorMessage(u"元に戻す記録を書き込めませんでした: " + journal_.path()));
    if (session_.settings.destination != destination)
        writeDestination(session_.ini, session_.settings.destination);
    model_->refreshRows();
    showLog();
    if (ran)
        showStatus((result.cancelled ? QStringLiteral("中止しました。") : QString()) +
                   QStringLiteral("実行結果　(%1 / %2) 処理しました。")
                       .arg(result.processed)
                       .arg(runCount));
    if (result.message)
        showMessage(*result.message);
    if (result.showResult) {
        LogDialog dialog(qs(result.resultLine), logPanel()->toPlainText(), session_.ini, this);
        dialog.exec();
    }
    afterRun();
}

void MainWindow::makeFolders() {
    FolderCreation job = startFolderCreation(session_, host_);
    if (!job.ready()) {
        showLog();
        showMessage(*job.message);
        return;
    }
    const auto parent = chooseFolderParent(session_, host_);
    if (!parent)
        return;
    FolderLayoutDialog dialog(readFolderLayout(session_.ini), prompts_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    writeFolderLayout(session_.ini, dialog.layout());
    const FolderCreationResult result = createFolders(session_, job, *parent, dialog.layout());
    showLog();
    if (result.failures == 0) {
        showMessage(result.message);
        return;
    }
    // What could not be made is in the log, shown as a run shows its log.
    LogDialog log(qs(result.message.text), logPanel()->toPlainText(), session_.ini, this);
    log.exec();
}

void MainWindow::undo() {
    readControls();
    closeJournal();
    undoButton_->setEnabled(false);
    runUndo(startUndo(session_));
}

void MainWindow::showLog() {
    QString text = qs(session_.log().text());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    logPanel()->setPlainText(text);
}

QPlainTextEdit* MainWindow::logPanel() {
    // Made at the first run's end: until then it holds only its placeholder, and a start-up
    // need not lay out a text nobody sees.
    if (!logPanel_) {
        logPanel_ = new QPlainTextEdit(QStringLiteral("実行結果のログが表示されます。"));
        logPanel_->setObjectName(QStringLiteral("logPanel"));
        logPanel_->setReadOnly(true);
        logPanel_->setAccessibleName(QStringLiteral("ログ"));
        logPanel_->hide();
        listColumn_->addWidget(logPanel_);
        updateTabOrder();
    }
    return logPanel_;
}

void MainWindow::afterRun() {
    // A run commits the texts of the page's boxes to their histories.
    showBoxes();
    updateUndoButton();
    scheduleNewNames();
    auto queued = std::move(queuedPaths_);
    queuedPaths_.clear();
    for (const auto& [paths, source] : queued) {
        if (source == PathSource::Drop)
            importPaths(paths, source);
        else
            handleCommandLine(paths, source);
    }
}

void MainWindow::openSettingsFileFromMenu() {
    readControls();
    if (const auto path = prompts_.openSettingsFile(this))
        loadSettingsFile(corePath(*path));
}

void MainWindow::saveSettingsFileFromMenu() {
    readControls();
    if (const auto path = prompts_.saveSettingsFile(this))
        saveSettingsFileAs(corePath(*path));
}

void MainWindow::saveSettingsFileAs(const std::u16string& path) {
    readControls();
    const MethodPage* page = session_.currentPage();
    if (!page)
        return;
    if (auto message = soramine::saveSettingsFile(path, session_.settings, session_.folderBox.text,
                                                  session_.extensionBox.text, *page))
        showMessage(*message);
}

bool MainWindow::loadSettingsFile(const std::u16string& path) {
    readControls();
    auto saved = readSettingsFile(path, session_.methods.size());
    if (!saved) {
        showMessage(saved.error());
        return false;
    }
    const std::int32_t storedFolderMode = saved->options.folderMode;
    if (storedFolderMode != session_.settings.folderMode) {
        if (!switchFolderMode(storedFolderMode != 0))
            return false;
    }
    takeSavedOptions(*saved, session_.settings);
    session_.folderBox.text = saved->folderText;
    session_.extensionBox.text = saved->extensionText;
    const int method = session_.settings.methodIndex;
    showControls();
    selectMethod(method);
    if (auto message = loadSavedPage(
            *saved, [this](int index) -> RecordBlock* { return session_.methods.page(index); })) {
        showMessage(*message);
    }
    showBoxes();
    updateAddTab();
    return true;
}

}  // namespace soramine::gui
