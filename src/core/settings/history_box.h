#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace soramine {

class IniFile;

// All history texts of the program, keyed by section + prefix + decimal index (index 0 is
// the most recent), as kept in "String.db".
using HistoryMap = std::map<std::u16string, std::u16string>;

// An editable combo box with a most-recently-used list, as the core sees it: the text in the
// edit field and the list entries. Pages hold one per history box; `text` is the value the
// page works with.
struct HistoryBox {
    std::u16string section;      // INI section, e.g. "メイン"
    std::u16string prefix;       // e.g. "フォルダ名"
    std::u16string defaultText;  // shown when the history is empty, e.g. "C:\"
    std::vector<std::u16string> entries;
    std::u16string text;
};

// The text folder mode shows in the extension box; never committed to a history.
inline constexpr std::u16string_view kFolderModeText = u"フォルダモード";

// Fills `box` from the map: the count is INI [section] prefix + "カウント"; entries 0..count-1
// that exist in the map are listed. With none, the text becomes the default text, otherwise
// entry 0.
void loadBoxHistory(HistoryBox& box, const IniFile& ini, const HistoryMap& map);
// Writes min(entries, limit) as the count and puts those entries into the map.
void saveBoxHistory(const HistoryBox& box, int limit, IniFile& ini, HistoryMap& map);
// Moves the current text to the top of the list (removing an equal entry), unless it is the
// folder-mode text, and trims the list to `limit` entries.
void commitBoxText(HistoryBox& box, int limit);
// Removes the entry the user deleted from the open list; entry 0, if any, becomes the text.
void deleteHistoryEntry(HistoryBox& box, size_t index);

}  // namespace soramine
