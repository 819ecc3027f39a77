#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/platform/fs.h"

namespace soramine {

// The list's date text: "2006年03月24日、00:00:00" and a line feed, in local time. No time
// gives an empty text; a time that cannot be converted gives year, month and day 0 and hour,
// minute and second -1.
std::u16string dateText(std::optional<platform::FileTime> t);

// The size text: decimal bytes with "," every three digits ("1,234,567").
std::u16string sizeText(std::uint64_t bytes);

// The size text of a folder item.
inline constexpr std::u16string_view kFolderSizeText = u"-";

}  // namespace soramine
