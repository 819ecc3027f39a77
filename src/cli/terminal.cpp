#include "cli/terminal.h"

#include <cstdio>
#include <filesystem>

#include "core/text/utf.h"

namespace soramine::cli {

void printError(std::u16string_view text) {
    std::string line = text::toUtf8(text);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
}

std::u16string absolutePath(const std::string& path) {
    if (path.empty())
        return {};
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(path, ec).lexically_normal();
    std::string s = ec ? path : p.string();
    while (s.size() > 1 && s.back() == '/')
        s.pop_back();
    return text::fromUtf8(s);
}

}  // namespace soramine::cli
