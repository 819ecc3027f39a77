#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/app/detail_settings.h"
#include "core/app/ini_file.h"
#include "core/app/main_settings.h"
#include "core/engine/error_log.h"
#include "core/engine/method.h"
#include "core/engine/method_table.h"
#include "core/items/item_table.h"

namespace soramine {

// What the last execution did, so that it can be undone once: entry k for item k of the run.
struct UndoRecord {
    std::vector<std::u16string> undoOldPaths;  // the item's full path before the run
    std::vector<std::u16string> undoNewPaths;  // the path it got (or the untrimmed new name)
    // Whether item k was really renamed. Only those entries are undone: the "after" path of
    // an item that kept its name may name another file (the one that blocked the rename).
    std::vector<bool> renamed;
    bool lastRunSelectedOnly = false;
    bool enabled = false;  // the undo button; only while the record belongs to a run that
                           // processed something
};

// Everything the main window holds for a run: the items and their selection, the options,
// the method pages, the error log and the undo record. The GUI and the CLI each keep one.
//
// A front end uses it like this:
//   RenameSession session(IniFile(path));
//   session.readIni();                          // options, detail flags, every page
//   // or, for a saved-settings file (settings/settings_file.h):
//   //   auto saved = loadSettingsFile(file, [&](int i) { return session.methods.page(i); });
//   //   takeSavedOptions(*saved, session.settings);
//   session.changeItems().appendTable(std::move(imported));   // items/import.h
//   session.setSelection({...});                // only with settings.selectedOnly
//   previewRun(session, host, observer);        // engine/preview.h
//   executeRun(session, host, observer);        // engine/execute.h
//   undoLastRun(session, observer);             // engine/undo.h
class RenameSession {
  public:
    explicit RenameSession(IniFile ini, MethodTable methods = MethodTable());

    // Reads the main options, the detailed settings and every page's section.
    void readIni();

    IniFile ini;  // "メイン"/"移動先" is read and written here by a move or copy after a run
    MainSettings settings = defaultMainSettings();
    DetailSettings detail = defaultDetailSettings();  // "ログ", "禁則文字", history limit
    MethodTable methods;
    ErrorLog log;
    int processedCount = 0;  // items the current or last run processed
    int timeStepOffset = 0;  // the timestamp method's accumulated step

    // The page of settings.methodIndex, or nullptr when the index names no method.
    MethodPage* currentPage() const { return methods.page(settings.methodIndex); }

    // The item table and the selection (sorted row numbers). Any change of either through
    // these discards the undo record, as the main window does on every change of its list.
    const ItemTable& items() const { return items_; }
    ItemTable& changeItems();
    const std::vector<std::size_t>& selection() const { return selection_; }
    void setSelection(std::vector<std::size_t> rows);

    const UndoRecord& undoRecord() const { return undo_; }
    bool canUndo() const { return undo_.enabled; }
    void discardUndo() { undo_ = UndoRecord(); }

    // For the engine's runs, whose own renames keep the undo record.
    ItemTable& runItems() { return items_; }
    UndoRecord& runUndo() { return undo_; }
    // What every page of a run gets besides the item.
    RunEnvironment environment(bool preview);

  private:
    ItemTable items_;
    std::vector<std::size_t> selection_;
    UndoRecord undo_;
};

}  // namespace soramine
