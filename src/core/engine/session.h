#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/detail_settings.h"
#include "core/app/ini_file.h"
#include "core/app/main_settings.h"
#include "core/base/message.h"
#include "core/engine/error_log.h"
#include "core/engine/method.h"
#include "core/engine/method_table.h"
#include "core/items/item_table.h"
#include "core/items/time_sort.h"
#include "core/settings/history_box.h"

namespace soramine {

// What the last execution did, so that it can be undone once: entry k for item k of the run.
struct UndoRecord {
    std::vector<std::u16string> oldPaths;  // the item's full path before the run
    std::vector<std::u16string> newPaths;  // the path it got (or the untrimmed new name)
    // Whether item k was really renamed. Only those entries are undone: the "after" path of
    // an item that kept its name may name another file (the one that blocked the rename).
    std::vector<bool> renamed;
    std::vector<std::size_t> rows;  // item k's row in the list
    bool enabled = false;           // the undo button; only while the record belongs to a run that
                                    // processed something
    std::u16string journal;         // the run's undo journal (engine/journal.h), when it kept one
    std::vector<std::size_t> entries;  // of a journal's undo: each entry's number in the journal
};

// Everything the main window holds for a run: the items and their selection, the options,
// the folder and extension boxes, the method pages, the error log and the undo record. The
// GUI and the CLI each keep one.
//
// A front end uses it like this:
//   RenameSession session(IniFile(path), makeMethodTable());   // methods/method_list.h
//   session.readIni();                          // options, detail flags, every page
//   session.changeItems([&](ItemTable& t) { /* import (items/import.h) */ });
//   session.setSelection({...});                // only with settings.selectedOnly
//   previewRun(session, host, observer);        // engine/preview.h
//   executeRun(session, host, observer);        // engine/execute.h
//   undoLastRun(session, observer);             // engine/undo.h
// A window that runs the item loop on a worker thread calls the three phases of each run
// instead (start..., the loop, finish...); while a run is under way the session refuses
// changes of its items and selection, and the window queues them.
class RenameSession {
  public:
    RenameSession(IniFile ini, MethodTable methods);

    // Reads the main options, the detailed settings and every page's section.
    void readIni();
    // Writes the main options and every page's section.
    void writeIni();

    IniFile ini;
    MainSettings settings = defaultMainSettings();
    DetailSettings detail = defaultDetailSettings();  // "ログ", "禁則文字", history limit
    MethodTable methods;
    HistoryBox folderBox;     // "フォルダ名(&F):", history "メイン"/"フォルダ名"
    HistoryBox extensionBox;  // "拡張子(&E):", history "メイン"/"拡張子"

    // Every history box: the folder and extension boxes, then each page's boxes.
    std::vector<HistoryBox*> historyBoxes();
    // The pages' texts kept in the history store outside their boxes.
    std::vector<StoredText> storedTexts();
    // Fills every history box and stored text from the history store (start-up) and writes
    // them back, the boxes' counts into the INI file (when the window closes).
    void loadHistories(const HistoryMap& map);
    void saveHistories(HistoryMap& map);

    // The page of settings.methodIndex, or nullptr when the index names no method.
    MethodPage* currentPage() const { return methods.page(settings.methodIndex); }

    // The error log of the last run (the main window's log panel).
    const ErrorLog& log() const { return log_; }

    // The item table and the selection (sorted row numbers).
    const ItemTable& items() const { return items_; }
    const std::vector<std::size_t>& selection() const { return selection_; }
    // Changes the items, or the selection, and discards the undo record, as the main window
    // does on every change of its list. While a run is under way nothing changes and the
    // result is false (the caller shows runningMessage() or tries again after the run).
    [[nodiscard]] bool changeItems(const std::function<void(ItemTable&)>& change);
    [[nodiscard]] bool setSelection(std::vector<std::size_t> rows);
    // Sorts the items by a time of their files (items/time_sort.h); the sort's report becomes
    // the log's text. False while a run is under way.
    [[nodiscard]] bool sortByTime(SortTime time, bool newestFirst);
    // Whether a preview, an execution or an undo is under way.
    bool running() const { return running_.load(); }
    static Message runningMessage();

    const UndoRecord& undoRecord() const { return undo_; }
    bool canUndo() const { return undo_.enabled; }
    // Forgets the record (false while a run is under way).
    bool discardUndo();

  private:
    friend class SessionAccess;

    ItemTable items_;
    std::vector<std::size_t> selection_;
    UndoRecord undo_;
    ErrorLog log_;
    std::atomic<bool> running_{false};
};

}  // namespace soramine
