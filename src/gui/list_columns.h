#pragma once

#include <QFont>
#include <optional>
#include <string_view>
#include <vector>

#include "core/app/detail_settings.h"
#include "core/app/ini_file.h"
#include "core/items/item_table.h"

namespace soramine::gui {

// One column of the list: its caption, the INI key of its width (section "リスト") and its
// default, and the item field it shows; the "▼" column shows none.
struct ListColumn {
    std::u16string_view caption;
    std::u16string_view widthKey;  // empty for "▼", whose width is not kept
    int defaultWidth = 0;
    std::optional<ItemTable::Column> field;
    bool rightAligned = false;  // the size column, which also sorts numerically
    bool newNames = false;      // "変更後": each item's new name under the current settings
};

inline constexpr std::u16string_view kListSection = u"リスト";

// The columns the detailed settings show, in their order: name, with `newNames` the new
// names, folder, then the optional creation time, last-write time and size, and "▼" last.
std::vector<ListColumn> shownColumns(const DetailSettings& detail, bool newNames = false);

// Whether the list shows the new-names column: key "変更後表示" of section "リスト", default 0.
bool readNewNamesShown(const IniFile& ini);
void writeNewNamesShown(IniFile& ini, bool shown);

// The widths kept in the INI file, or the defaults.
int readColumnWidth(const IniFile& ini, const ListColumn& column);
void writeColumnWidth(IniFile& ini, const ListColumn& column, int width);

// `base` in the family of the detailed setting "フォント名" (the list's font, also that of the
// boxes that show names) when that family, or a family it is another name for, is installed;
// otherwise `base` as it is. A missing family is not looked for among stand-ins: that search
// costs the window's start milliseconds and ends at the default family all the same.
QFont inListFontFamily(QFont base, const DetailSettings& detail);

}  // namespace soramine::gui
