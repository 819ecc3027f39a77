#pragma once

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
};

inline constexpr std::u16string_view kListSection = u"リスト";

// The columns the detailed settings show, in their order: name, folder, then the optional
// creation time, last-write time and size, and "▼" last.
std::vector<ListColumn> shownColumns(const DetailSettings& detail);

// The widths kept in the INI file, or the defaults.
int readColumnWidth(const IniFile& ini, const ListColumn& column);
void writeColumnWidth(IniFile& ini, const ListColumn& column, int width);

}  // namespace soramine::gui
