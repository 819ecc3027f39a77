// The main window's list: imports, the list commands, sorting, drags and the menus.

#include <QDesktopServices>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "core/app/one_shot.h"
#include "core/engine/execute.h"
#include "core/platform/fs.h"
#include "core/text/strings.h"
#include "gui/item_list_model.h"
#include "gui/item_list_view.h"
#include "gui/main_window.h"
#include "gui/prompts.h"
#include "gui/qt_text.h"
#include "gui/widgets/history_combo_box.h"

namespace soramine::gui {

bool MainWindow::changeList(const std::function<void(ItemTable&)>& change, bool reorderOnly) {
    return updateList([&] { return session_.changeItems(change); }, reorderOnly);
}

bool MainWindow::updateList(const std::function<bool()>& change, bool reorderOnly) {
    showSortIndicator(std::nullopt, false);
    // A new order of the same rows repaints them; anything else resets the model once.
    if (!reorderOnly)
        model_->beginChange();
    const bool changed = change();
    if (reorderOnly)
        model_->refreshRows();
    else
        model_->endChange();
    if (!changed) {
        showMessage(RenameSession::runningMessage());
        return false;
    }
    applyingSelection_ = true;
    list_->selectRows(session_.selection());
    applyingSelection_ = false;
    updateCounts();
    updateUndoButton();
    return true;
}

void MainWindow::selectionChanged() {
    if (applyingSelection_)
        return;
    if (!session_.setSelection(list_->selectedRowNumbers()))
        return;
    updateCounts();
    updateUndoButton();
}

void MainWindow::updateCounts() {
    countPane_->setText(QString::asprintf("総アイテム数: %4d", model_->rowCount()));
    selectedPane_->setText(
        QString::asprintf("選択アイテム数: %4d", static_cast<int>(session_.selection().size())));
}

void MainWindow::updateUndoButton() {
    undoButton_->setEnabled(session_.canUndo());
}

void MainWindow::importFolder() {
    readControls();
    std::optional<Message> message;
    std::vector<UnreadableFolder> unreadable;
    const bool folderModeBefore = session_.settings.folderMode != 0;
    setEnabled(false);
    const bool changed = changeList([&](ItemTable& table) {
        Importer importer(table, session_.settings, session_.folderBox, session_.extensionBox,
                          session_.detail.historyLimit);
        message = importer.importFolder(session_.detail);
        unreadable = importer.unreadableFolders();
    });
    setEnabled(true);
    if (changed && !message && session_.settings.importMode == 0)
        clearSelectionQuietly();
    folderBox_->showBox();
    if (changed && (session_.settings.folderMode != 0) != folderModeBefore)
        showFolderMode();
    else
        extensionBox_->showBox();
    if (message) {
        showMessage(*message);
        return;
    }
    showUnreadableFolders(unreadable);
}

void MainWindow::showUnreadableFolders(const std::vector<UnreadableFolder>& folders) {
    // The subfolders an import could not list, one line each, in the log panel under the list.
    if (folders.empty()) {
        if (logPanel_)
            logPanel_->hide();
        return;
    }
    QStringList lines;
    for (const UnreadableFolder& folder : folders)
        lines << qs(unreadableFolderText(folder));
    logPanel()->setPlainText(lines.join(QLatin1Char('\n')));
    logPanel_->show();
}

void MainWindow::importPaths(const std::vector<std::u16string>& paths, PathSource source) {
    if (session_.running()) {
        queuedPaths_.emplace_back(paths, source);
        return;
    }
    readControls();
    const bool folderModeBefore = session_.settings.folderMode != 0;
    setEnabled(false);
    std::vector<UnreadableFolder> unreadable;
    const bool changed = changeList([&](ItemTable& table) {
        Importer importer(table, session_.settings, session_.folderBox, session_.extensionBox,
                          session_.detail.historyLimit);
        importer.importPaths(paths, source, session_.detail);
        unreadable = importer.unreadableFolders();
    });
    setEnabled(true);
    if (changed && (session_.settings.importMode == 0 || session_.settings.folderMode != 0))
        clearSelectionQuietly();
    if (changed && (session_.settings.folderMode != 0) != folderModeBefore)
        showFolderMode();
    showUnreadableFolders(unreadable);
}

void MainWindow::browseFolder() {
    readControls();
    const auto folder =
        prompts_.chooseFolder(this, QStringLiteral("取り込むフォルダを選択して下さい。"),
                              localPath(session_.folderBox.text));
    if (!folder)
        return;
    session_.folderBox.text = corePath(*folder);
    folderBox_->setEditText(qs(session_.folderBox.text));
    if (session_.detail.importAtOnce)
        importFolder();
}

void MainWindow::dropOnFolderBox(const std::vector<std::u16string>& paths) {
    if (paths.size() != 1)
        return;
    const auto entry = platform::lookUp(paths.front());
    if (entry && !entry->isFolder)
        return;
    session_.folderBox.text = paths.front();
    folderBox_->setEditText(qs(paths.front()));
    updateCounts();
}

void MainWindow::handleCommandLine(const std::vector<std::u16string>& args, PathSource source) {
    if (args.empty())
        return;
    if (session_.running())
        queuedPaths_.emplace_back(args, source);
    else if (isSettingsFileArgument(args))
        loadSettingsFile(args.front());
    else
        importPaths(args, source);
}

void MainWindow::receiveForwarded(const std::vector<std::u16string>& paths) {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    handleCommandLine(paths, PathSource::OtherInstance);
}

void MainWindow::clearAll() {
    readControls();
    changeList([](ItemTable& t) { t.clear(); });
}

void MainWindow::clearSelected() {
    readControls();
    const std::vector<size_t> rows = session_.selection();
    if (rows.empty())
        return;
    if (changeList([&](ItemTable& t) { t.removeRows(rows); }))
        clearSelectionQuietly();  // the rows that took the removed rows' places
}

void MainWindow::clearSelectionQuietly() {
    applyingSelection_ = true;
    list_->clearSelection();
    applyingSelection_ = false;
    (void)session_.setSelection({});
    updateCounts();
}

void MainWindow::selectAll() {
    readControls();
    list_->selectAll();
}

void MainWindow::invertSelection() {
    readControls();
    std::vector<size_t> inverted;
    const std::vector<size_t>& selected = session_.selection();
    size_t next = 0;
    for (size_t row = 0; row < session_.items().count(); ++row) {
        if (next < selected.size() && selected[next] == row)
            ++next;
        else
            inverted.push_back(row);
    }
    // One change of the view's selection, and the counts once.
    applyingSelection_ = true;
    list_->selectRows(inverted);
    applyingSelection_ = false;
    if (session_.setSelection(std::move(inverted))) {
        updateCounts();
        updateUndoButton();
    }
}

void MainWindow::editSelected() {
    if (session_.selection().size() != 1)
        return;
    const size_t row = session_.selection().front();
    // The editor selects the name without its extension; a folder's name is all name.
    const std::u16string& name = session_.items().name(row);
    size_t stem = name.size() - text::extensionOf(name).size();
    if (stem == 0 || session_.settings.folderMode != 0)
        stem = name.size();
    list_->editName(static_cast<int>(row), static_cast<int>(stem));
}

void MainWindow::renameEdited(int row, const QString& text) {
    // The rename waits until the editor has closed, so that the row shows the file's real name
    // while a message about the edited text is up, and never the text no file has.
    const auto at = static_cast<size_t>(row);
    const std::u16string path = session_.items().path(at);
    QTimer::singleShot(0, this, [this, at, path, edited = u16(text)] {
        if (at >= session_.items().count() || session_.items().path(at) != path)
            return;  // the list changed meanwhile
        const LabelEditResult result = renameByLabelEdit(session_, at, edited);
        if (result.renamed)
            model_->refreshRows();
        for (const Message& message : result.messages)
            showMessage(message);
        updateUndoButton();
    });
}

void MainWindow::swapSelected() {
    readControls();
    const std::vector<size_t>& rows = session_.selection();
    if (rows.size() != 2) {
        showMessage(errorMessage(u"ファイルを2つ選択してください"));
        return;
    }
    if (!prompts_.askYesNo(
            this, Message{u"この2つのファイル名を入れ替えますか？", u"確認", Icon::Question}))
        return;
    const ItemTable& items = session_.items();
    const auto swapped = app::swapNames(items.path(rows[0]), items.path(rows[1]));
    if (!swapped) {
        showMessage(errorMessage(platform::systemErrorText(swapped.error().error) + u"\r\n" +
                                 swapped.error().path));
    }
}

void MainWindow::trashSelected() {
    readControls();
    const std::vector<size_t> rows = session_.selection();
    if (rows.empty())
        return;
    if (!prompts_.askYesNo(
            this, Message{u"選択ファイルをゴミ箱へ移動しますか？", u"確認", Icon::Question}))
        return;
    // The desktop's trash (files/ and info/*.trashinfo), so that its own view can restore.
    for (size_t row : rows)
        QFile::moveToTrash(localPath(session_.items().path(row)));
    clearSelected();
}

void MainWindow::openSelectedFolder() {
    if (session_.selection().size() != 1)
        return;
    const std::u16string& folder = session_.items().folder(session_.selection().front());
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(localPath(folder))))
        showMessage(errorMessage(u"フォルダを開くプログラムが見つかりません\n" + folder));
}

void MainWindow::sortByHeader(int section) {
    // A click flips the header's own mark; the mark shows only what the list is sorted by.
    showSortIndicator(sortedBy_, sortedDescending_);
    if (session_.items().empty())
        return;
    const auto& columns = model_->columns();
    const ListColumn& column = columns[static_cast<size_t>(section)];
    if (column.newNames)
        return;
    if (!column.field) {
        // "▼": the Sort menu at the header item's bottom-left corner.
        QHeaderView* header = list_->horizontalHeader();
        showSortMenu(header->mapToGlobal(
            QPoint(header->sectionViewportPosition(section), header->height())));
        return;
    }
    const auto field = static_cast<size_t>(*column.field);
    readControls();
    const ItemTable::Compare compare =
        column.rightAligned ? ItemTable::compareNumber : ItemTable::compareText;
    const bool descending = descending_[field];
    if (changeList([&](ItemTable& t) { t.sort(*column.field, compare, descending); }, true)) {
        descending_[field] = !descending;
        showSortIndicator(*column.field, descending);
    }
}

void MainWindow::sortByText(ItemTable::Column column, bool descending) {
    if (session_.items().empty())
        return;
    readControls();
    if (changeList([&](ItemTable& t) { t.sort(column, ItemTable::compareText, descending); }, true))
        showSortIndicator(column, descending);
}

void MainWindow::showSortIndicator(std::optional<ItemTable::Column> field, bool descending) {
    sortedBy_ = field;
    sortedDescending_ = descending;
    int section = -1;
    const auto& columns = model_->columns();
    for (size_t c = 0; field && c < columns.size(); ++c) {
        if (columns[c].field == field)
            section = static_cast<int>(c);
    }
    list_->horizontalHeader()->setSortIndicator(
        section, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void MainWindow::sortByTime(SortTime time, bool newestFirst) {
    if (session_.items().empty())
        return;
    readControls();
    if (updateList([&] { return session_.sortByTime(time, newestFirst); }, true))
        showLog();
}

void MainWindow::moveDraggedRows(int at) {
    readControls();
    const std::vector<size_t> rows = session_.selection();
    if (rows.empty())
        return;
    std::vector<size_t> moved;
    if (!changeList([&](ItemTable& t) { moved = t.moveRows(rows, static_cast<size_t>(at)); }, true))
        return;
    applyingSelection_ = true;
    list_->selectRows(moved);
    applyingSelection_ = false;
    (void)session_.setSelection(moved);
    updateCounts();
}

// The menus are made when first opened: a start-up shows none of them.
namespace {

QAction* addCommand(QMenu* menu, const char* text, MainWindow* window, void (MainWindow::*slot)()) {
    return menu->addAction(QString::fromUtf8(text), window, slot);
}

}  // namespace

QMenu* MainWindow::contextMenu() {
    if (contextMenu_)
        return contextMenu_;
    contextMenu_ = new QMenu(this);
    addCommand(contextMenu_, "すべてクリア(&C)", this, &MainWindow::clearAll);
    clearSelectedAction_ =
        addCommand(contextMenu_, "選択ファイルをクリア(&D)...", this, &MainWindow::clearSelected);
    swapAction_ = addCommand(contextMenu_, "入れ替え(&H)...", this, &MainWindow::swapSelected);
    addCommand(contextMenu_, "すべて選択(&A)", this, &MainWindow::selectAll);
    addCommand(contextMenu_, "選択の切り替え(&I)", this, &MainWindow::invertSelection);
    editAction_ = addCommand(contextMenu_, "編集(&E)", this, &MainWindow::editSelected);
    trashAction_ = addCommand(contextMenu_, "選択ファイルをゴミ箱へ移動(&R)", this,
                              &MainWindow::trashSelected);
    openFolderAction_ = addCommand(contextMenu_, "選択ファイルのあるフォルダを開く(&O)", this,
                                   &MainWindow::openSelectedFolder);
    infoAction_ =
        addCommand(contextMenu_, "ファイル情報(&F)", this, &MainWindow::showSelectedFileInfo);
    // The header's Sort menu, for the keyboard.
    contextMenu_->addMenu(sortMenu())->setText(QStringLiteral("並べ替え(&T)"));
    contextMenu_->addSeparator();
    contextMenu_->addAction(newNamesAction_);
    return contextMenu_;
}

QMenu* MainWindow::sortMenu() {
    if (sortMenu_)
        return sortMenu_;
    sortMenu_ = new QMenu(this);
    const auto sortPair = [this](const char* title, const char* first, const char* second,
                                 std::function<void()> firstAction,
                                 std::function<void()> secondAction) {
        QMenu* sub = sortMenu_->addMenu(QString::fromUtf8(title));
        connect(sub->addAction(QString::fromUtf8(first)), &QAction::triggered, this, firstAction);
        connect(sub->addAction(QString::fromUtf8(second)), &QAction::triggered, this, secondAction);
    };
    const auto timePair = [&](const char* title, SortTime time) {
        sortPair(
            title, "古い順(&O)", "新しい順(&N)", [this, time] { sortByTime(time, false); },
            [this, time] { sortByTime(time, true); });
    };
    timePair("&Exif情報の撮影日時", SortTime::kShootingDate);
    timePair("作成日時(&C)", SortTime::kCreated);
    timePair("更新日時(&M)", SortTime::kModified);
    sortPair(
        "ファイル名(&F)", "降順（&D)", "昇順(&U)", [this] { sortByText(ItemTable::kName, true); },
        [this] { sortByText(ItemTable::kName, false); });
    sortPair(
        "フォルダ名(&D)", "降順(&D)", "昇順(&U)", [this] { sortByText(ItemTable::kFolder, true); },
        [this] { sortByText(ItemTable::kFolder, false); });
    return sortMenu_;
}

QMenu* MainWindow::helpMenu() {
    if (helpMenu_)
        return helpMenu_;
    helpMenu_ = new QMenu(this);
    addCommand(helpMenu_, "設定ファイルを開く(&O)...", this, &MainWindow::openSettingsFileFromMenu);
    addCommand(helpMenu_, "設定ファイルを保存(&S)...", this, &MainWindow::saveSettingsFileFromMenu);
    addCommand(helpMenu_, "実行履歴(&R)...", this, &MainWindow::showRunHistory);
    addCommand(helpMenu_, "ヘルプ(&H)", this, &MainWindow::openUserGuide);
    addCommand(helpMenu_, "バージョン情報(&V)...", this, &MainWindow::showAbout);
    addCommand(helpMenu_, "アップデートチェック(&U)", this, &MainWindow::checkForUpdate);
    addCommand(helpMenu_, "&WEBサイトを開く...", this, &MainWindow::openWebPage);
    addCommand(helpMenu_, "詳細設定(&S)...", this, &MainWindow::showDetailSettings);
    return helpMenu_;
}

void MainWindow::showContextMenu(const QPoint& pos) {
    if (session_.items().empty())
        return;
    QMenu* menu = contextMenu();
    const size_t selected = session_.selection().size();
    clearSelectedAction_->setEnabled(selected >= 1);
    swapAction_->setEnabled(selected == 2);
    editAction_->setEnabled(selected == 1);
    trashAction_->setEnabled(selected >= 1);
    openFolderAction_->setEnabled(selected == 1);
    infoAction_->setEnabled(selected == 1);
    menu->popup(list_->viewport()->mapToGlobal(pos + QPoint(5, 5)));
}

void MainWindow::showSortMenu(const QPoint& globalPos) {
    sortMenu()->popup(globalPos);
}

void MainWindow::showHelpMenu() {
    helpMenu()->popup(menuButton_->mapToGlobal(QPoint(0, menuButton_->height())));
}

}  // namespace soramine::gui
