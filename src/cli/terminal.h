#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/items/import.h"

namespace soramine::cli {

// A message for the user on stderr, in UTF-8, ending in a line feed.
void printError(std::u16string_view text);
// A path argument as the core takes it: absolute, without trailing separators.
std::u16string absolutePath(const std::string& path);
// The message refusing a path text that holds NUL, which the system would take only up to
// the NUL and so act on another file or folder; nothing for a usable path.
std::optional<std::u16string> refuseNul(std::u16string_view path);
// Why an import left items out: one line "フォルダを読み込めません: FOLDER (reason)" for each
// folder it could not list; nothing when it listed them all.
std::optional<std::u16string> unreadableFoldersText(const std::vector<UnreadableFolder>& folders);

}  // namespace soramine::cli
