#include "cli/options.h"

#include <algorithm>
#include <cstdio>

#include "cli/terminal.h"
#include "core/text/utf.h"

namespace soramine::cli {

std::optional<std::string> CommandLine::value(std::string_view name) const {
    std::optional<std::string> found;
    for (const auto& [option, value] : values) {
        if (option == name)
            found = value;
    }
    return found;
}

std::vector<std::string> CommandLine::all(std::string_view name) const {
    std::vector<std::string> found;
    for (const auto& [option, value] : values) {
        if (option == name)
            found.push_back(value);
    }
    return found;
}

bool CommandLine::has(std::string_view name) const {
    return std::find(switches.begin(), switches.end(), name) != switches.end();
}

Expected<CommandLine, std::u16string> parseCommandLine(
    const Args& args, const std::vector<std::string_view>& valueOptions,
    const std::vector<std::string_view>& switchOptions) {
    auto listed = [](const std::vector<std::string_view>& list, std::string_view name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    CommandLine line;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            line.positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
        } else if (a == "--help" || a == "-h") {
            line.help = true;
        } else if (listed(switchOptions, a)) {
            line.switches.push_back(a);
        } else if (const auto eq = a.find('=');
                   eq != std::string::npos &&
                   listed(valueOptions, std::string_view(a).substr(0, eq))) {
            line.values.emplace_back(a.substr(0, eq), a.substr(eq + 1));
        } else if (listed(valueOptions, a)) {
            if (i + 1 == args.size())
                return Unexpected{u"値がありません: " + text::fromUtf8(a)};
            line.values.emplace_back(a, args[++i]);
        } else {
            return Unexpected{u"不明なオプションです: " + text::fromUtf8(a)};
        }
    }
    return line;
}

int showUsage(const char* usage) {
    std::fputs(usage, stdout);
    return 0;
}

int usageError(std::u16string_view message, const char* usage) {
    printError(message);
    std::fputs(usage, stderr);
    return 2;
}

}  // namespace soramine::cli
