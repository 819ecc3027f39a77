#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/commands.h"
#include "core/base/expected.h"

namespace soramine::cli {

// A command's arguments sorted into options and positional arguments. An option with a value
// is written "--name VALUE" or "--name=VALUE"; "--" ends the options.
struct CommandLine {
    bool help = false;  // "--help" or "-h"
    std::vector<std::string> positional;
    std::vector<std::pair<std::string, std::string>> values;  // in the given order
    std::vector<std::string> switches;

    // The last value given for `name`, or nothing.
    std::optional<std::string> value(std::string_view name) const;
    // Every value given for `name`, in order.
    std::vector<std::string> all(std::string_view name) const;
    bool has(std::string_view name) const;
};

// Refuses an option that is neither in `valueOptions` nor in `switchOptions`, and a value
// option without its value, with a message for the user.
Expected<CommandLine, std::u16string> parseCommandLine(
    const Args& args, const std::vector<std::string_view>& valueOptions,
    const std::vector<std::string_view>& switchOptions = {});

// Prints a command's usage on stdout (for --help); returns 0.
int showUsage(const char* usage);
// Prints what is wrong with the arguments and the usage on stderr; returns 2.
int usageError(std::u16string_view message, const char* usage);

}  // namespace soramine::cli
