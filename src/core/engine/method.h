#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/message.h"
#include "core/items/item_table.h"

namespace soramine {

class ErrorLog;
class Host;
class IniFile;
class BlockWriter;
class BlockReader;
struct HistoryBox;

// The parsed file-name format of the MP3 method's tag-writing mode.
struct TagFormat {
    std::u16string tagSeparators[5];
    int tagOrder[5] = {-1, -1, -1, -1, -1};
};

// What a run gives every page besides the item.
struct RunEnvironment {
    bool folderMode = false;          // the list holds folders; names have no extension
    bool fullWidthForbidden = false;  // "詳細設定"/"禁則文字": repair instead of refusing
    ErrorLog* log = nullptr;          // per-item problems go here (captured in a preview)
    bool preview = false;             // nothing on disk may change: pages that act on files
                                      // (timestamps, attributes, tag writing) return the name
    int* processedCount = nullptr;    // pages that act on files count the items they changed
    int* timeStepOffset = nullptr;    // the timestamp page's accumulated step, 0 at run start
};

// The items taking part in a run, in run order: item k is row rows[k] of the table.
struct RunItems {
    const ItemTable& table;
    std::span<const std::size_t> rows;

    std::size_t count() const { return rows.size(); }
    const std::u16string& name(std::size_t k) const { return table.name(rows[k]); }
    const std::u16string& folder(std::size_t k) const { return table.folder(rows[k]); }
};

// The values a page works out once per run, after validation (see MethodPage::prepare).
struct RunPreparation {
    std::size_t runCount = 0;           // may be lowered (names from text: fewer lines)
    std::vector<std::u16string> lines;  // names from text: item k gets lines[k]
    int longestName = 0;                // conversion page, adjust mode
    TagFormat tagFormat;                // MP3 tag writing
};

// The arguments of one transform. Each method reads the ones the method table gives it.
struct ItemArgs {
    std::u16string_view name;    // the old name, with extension
    std::u16string_view folder;  // the item's folder, ending in the separator
    int k = 0;                   // ordinal of the item in the run
    int row = 0;                 // the item's row in the list
    std::u16string_view line;    // names from text: lines[k]
    int longestName = 0;         // conversion page, adjust mode
    const TagFormat* tagFormat = nullptr;
};

// A page setting by the name a user knows it under: its INI key, or for a history box its
// history name. Exactly one of the pointers is set.
struct NamedSetting {
    std::u16string_view name;
    std::int32_t* number = nullptr;
    std::u16string* text = nullptr;
};

// A method page as the engine sees it: settings with their INI section, validation, the
// per-item transform and the saved-settings block. The GUI page only moves values between
// its widgets and this object.
class MethodPage {
  public:
    virtual ~MethodPage() = default;

    // The method box text, e.g. "置換".
    virtual std::u16string_view comboText() const = 0;
    // False for a method this build does not offer yet; validate() then says so.
    virtual bool available() const { return true; }

    virtual void readIni(const IniFile& ini) = 0;
    virtual void writeIni(IniFile& ini) const = 0;

    // Once before a run; a message stops the run and is shown to the user.
    virtual std::optional<Message> validate(const RunEnvironment& env) = 0;
    // Once per run after validation, for the pages that need run-wide values (the longest
    // name, the MP3 file-name format, the lines of names from text). `host` gives the
    // clipboard text. A message stops the run and is shown to the user.
    virtual std::optional<Message> prepare(const RunItems& /*items*/, const RunEnvironment& /*env*/,
                                           Host& /*host*/, RunPreparation& /*out*/) {
        return std::nullopt;
    }
    // The new name of one item (before trimming).
    virtual std::u16string transform(const ItemArgs& item, const RunEnvironment& env) = 0;

    // The page's block of the saved-settings file. loadBlock returns false when the block is
    // damaged; the file is then refused.
    virtual void saveBlock(BlockWriter& out) const = 0;
    virtual bool loadBlock(BlockReader& in) = 0;

    // The page's history boxes (their texts are committed when a run starts) and its
    // settings by name (for saved-settings jobs made without a window).
    virtual std::vector<HistoryBox*> histories() { return {}; }
    virtual std::vector<NamedSetting> namedSettings() { return {}; }
};

}  // namespace soramine
