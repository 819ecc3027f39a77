#pragma once

#include <string>
#include <vector>

namespace soramine::cli {

// Each command gets its arguments after the command word and returns the exit status:
// 0 done, 1 done with items that failed, 2 could not start (usage, unreadable input).
using Args = std::vector<std::string>;

int runList(const Args& args);

}  // namespace soramine::cli
