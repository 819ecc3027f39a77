#pragma once

#include <string>
#include <string_view>

namespace soramine::cli {

// A message for the user on stderr, in UTF-8, ending in a line feed.
void printError(std::u16string_view text);
// A path argument as the core takes it: absolute, without trailing separators.
std::u16string absolutePath(const std::string& path);

}  // namespace soramine::cli
