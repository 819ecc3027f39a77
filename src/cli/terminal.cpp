#include "cli/terminal.h"

#include <cstdio>
#include <filesystem>

#include "core/platform/fs.h"
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

std::optional<std::u16string> refuseNul(std::u16string_view path) {
    if (path.find(u'\0') == std::u16string_view::npos)
        return std::nullopt;
    std::u16string shown;
    for (char16_t c : path)
        shown += c == u'\0' ? std::u16string_view(u"\\0") : std::u16string_view(&c, 1);
    return u"パスに NUL 文字が含まれています: " + shown;
}

std::optional<std::u16string> unreadableFoldersText(const std::vector<UnreadableFolder>& folders) {
    if (folders.empty())
        return std::nullopt;
    std::u16string text;
    for (const auto& f : folders) {
        text += (text.empty() ? u"" : u"\n") + unreadableFolderText(f);
    }
    return text;
}

}  // namespace soramine::cli
