#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/items/item_table.h"

namespace soramine {

// The time a sort of the whole list orders the rows by.
enum class SortTime {
    kCreated,       // the file's creation time (where the file system keeps one)
    kModified,      // its last-write time
    kShootingDate,  // the Exif shooting date inside the file
};

// One key per row: the row's time in seconds since 1970-01-01 00:00:00 UTC, or 0 when it has
// none. The shooting-date keys log "ファイルを開けません - " + path for a file that cannot be
// opened and "Exif情報の撮影日時がありません - " + name for one without a date, one line each,
// into `log`.
std::vector<std::int64_t> timeKeys(const ItemTable& table, SortTime time, std::u16string& log);

// Sorts every row by its time, oldest first or newest first (rows without a time count as 0
// and are not kept in their order). The log text the sort leaves: the lines of timeKeys, then
// "作成日時の" / "更新日時の" / "Exif情報撮影日時の", "古い" / "新しい", "順に並べ替えました".
// Nothing, and no change, for an empty list, and for the shooting date in folder mode.
std::optional<std::u16string> sortByTime(ItemTable& table, SortTime time, bool newestFirst,
                                         bool folderMode);

}  // namespace soramine
