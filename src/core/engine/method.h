#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/message.h"
#include "core/engine/error_log.h"
#include "core/items/item_table.h"
#include "core/settings/records.h"
#include "core/text/forbidden_chars.h"
#include "core/text/random_text.h"

namespace soramine {

class Host;
class IniFile;
class RunObserver;
struct HistoryBox;

// The options of a run that every page may read; fixed for the whole run.
struct RunEnvironment {
    bool folderMode = false;          // the list holds folders; names have no extension
    bool fullWidthForbidden = false;  // "詳細設定"/"禁則文字": repair instead of refusing
    bool folderCreation = false;      // the run names new folders (engine/folder_maker.h)
};

// A text of a list cell that a page's apply step changed (the timestamp page's date texts).
struct CellChange {
    std::size_t row;
    ItemTable::Column column;
    std::u16string text;
};

// What one run accumulates while its items are worked through. Each run has its own, so the
// item loop shares nothing with the window.
struct RunContext {
    RunEnvironment env;
    ErrorLog log;                         // per-item problems (captured per item in a preview)
    int processedCount = 0;               // pages that act on files count the items they changed
    std::int64_t timeStepOffset = 0;      // the timestamp page's accumulated step, 0 at run start
    std::size_t failures = 0;             // items whose problem was logged
    text::RandomSource random;            // seeded once when the run starts (random names)
    std::vector<CellChange> cellChanges;  // written into the table when an execution finishes
    // The item loop's observer while the loop runs, for long work inside one item (hashing a
    // large file): its progress and a cancel between its steps. Null outside the loop.
    RunObserver* progress = nullptr;
};

// The items taking part in a run, in run order: item k is row rows[k] of the table.
struct RunItems {
    const ItemTable& table;
    std::span<const std::size_t> rows;

    std::size_t count() const { return rows.size(); }
    const std::u16string& name(std::size_t k) const { return table.name(rows[k]); }
    const std::u16string& folder(std::size_t k) const { return table.folder(rows[k]); }
};

// The arguments of one transform: what every method may need of an item.
struct ItemArgs {
    std::u16string_view name;    // the old name, with extension
    std::u16string_view folder;  // the item's folder, ending in the separator
    int k = 0;                   // ordinal of the item in the run
    int row = 0;                 // the item's row in the list
};

// A page setting by the name a user knows it under: its INI key, or for a history box its
// history name. Exactly one of the pointers is set.
struct NamedSetting {
    std::u16string_view name;
    std::int32_t* number = nullptr;
    std::u16string* text = nullptr;
};

// A text a page keeps in the history store under a whole key of its own (no section, list or
// index), read when the program starts and written when it ends.
struct StoredText {
    std::u16string_view key;
    std::u16string* text = nullptr;
};

// A text box of a page that is repaired while the user types, and the set of characters it
// cannot hold (each set leaves out the characters that mean something in that box).
struct TextSetting {
    std::u16string_view name;  // as in NamedSetting
    std::u16string* text = nullptr;
    text::ForbiddenSet forbidden = text::ForbiddenSet::All;
};

// A method page as the engine sees it: settings with their INI section, validation, the
// per-item transform and the saved-settings block. The GUI page only moves values between
// its widgets and this object.
//
// A run calls validate() and prepare() on the caller's thread; transform() and apply() are
// called from the item loop, which may run on a worker thread: they read the page's settings
// and the state prepare() set, and write only to the RunContext (and apply() to the writes it
// leaves pending for finishApply(), called on the same thread).
class MethodPage : public RecordBlock {
  public:
    virtual void readIni(const IniFile& ini) = 0;
    virtual void writeIni(IniFile& ini) const = 0;

    // Once before a run; a message stops the run and is shown to the user. A check may also
    // log lines (script syntax errors), which are shown with the message.
    virtual std::optional<Message> validate(RunContext& run) = 0;
    // Once per run after validation, for the pages that need run-wide values (the longest
    // name, the MP3 file-name format, the lines of names from text), which they keep in
    // their own members. `host` gives the clipboard text; `runCount` may be lowered (fewer
    // lines than items). A message stops the run and is shown to the user.
    virtual std::optional<Message> prepare(const RunItems& /*items*/, const RunEnvironment& /*env*/,
                                           Host& /*host*/, std::size_t& /*runCount*/) {
        return std::nullopt;
    }
    // The new name of one item (before trimming). Never changes a file.
    virtual std::u16string transform(const ItemArgs& item, RunContext& run) = 0;
    // For the methods that change files rather than names (timestamps, attributes, tag
    // writing): changes item's file. An execution calls it before the item's rename; a
    // preview never does.
    virtual void apply(const ItemArgs& /*item*/, RunContext& /*run*/) {}
    // Completes what apply() left pending (tag writes are committed in groups). An execution
    // calls it once after its item loop, also a cancelled one, and before the renames of a run
    // that allows swaps.
    virtual void finishApply(RunContext& /*run*/) {}
    // Whether the method, as set now, inserts its text where the add-text page's position
    // settings say (its "add" mode); the main window then offers that page in its second tab.
    virtual bool usesAddText() const { return false; }
    // Whether folder creation (engine/folder_maker.h) may name its folders with this page.
    virtual bool namesFolders() const { return false; }

    // The page's history boxes (their texts are committed when a run starts) and its
    // settings by name (for saved-settings jobs made without a window).
    virtual std::vector<HistoryBox*> histories() { return {}; }
    virtual std::vector<NamedSetting> namedSettings() { return {}; }
    // The page's texts kept in the history store outside its history boxes.
    virtual std::vector<StoredText> storedTexts() { return {}; }
    // The page's text boxes with their forbidden characters, for a front end's repair while
    // typing; boxes with a check of their own (digits, positions) are not listed.
    virtual std::vector<TextSetting> textSettings() { return {}; }
};

}  // namespace soramine
