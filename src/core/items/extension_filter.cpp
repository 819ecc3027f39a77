#include "core/items/extension_filter.h"

#include "core/settings/history_box.h"
#include "core/text/strings.h"

namespace soramine {
namespace {

std::u16string_view extensionForFilter(std::u16string_view name) {
    size_t dot = name.rfind(u'.');
    return dot == std::u16string_view::npos ? name : name.substr(dot + 1);
}

bool isWhite(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

}  // namespace

ExtensionFilter parseExtensionFilter(std::u16string_view input) {
    ExtensionFilter filter;
    if (input == kFolderModeText)
        return filter;
    std::u16string text;
    for (char16_t c : input) {
        if (c == u'.')
            continue;
        text += c == u'\u3000' ? u' ' : c;
    }
    size_t begin = 0, end = text.size();
    while (begin < end && isWhite(text[begin]))
        ++begin;
    while (end > begin && isWhite(text[end - 1]))
        --end;
    text = text.substr(begin, end - begin) + u' ';

    size_t pos = 0;
    for (size_t space; (space = text.find(u' ', pos)) != std::u16string::npos; pos = space + 1) {
        std::u16string token = text.substr(pos, space - pos);
        if (token.size() != 1)
            std::erase(token, u'*');
        bool exclude = !token.empty() && token[0] == u'-';
        auto& list = exclude ? filter.excludeExtensions : filter.includeExtensions;
        if (list.size() < ExtensionFilter::kMaxTokens) {
            list.push_back(exclude ? token.substr(1) : std::move(token));
        }
    }
    return filter;
}

bool ExtensionFilter::accepts(std::u16string_view name) const {
    std::u16string_view ext = extensionForFilter(name);
    for (const auto& e : excludeExtensions) {
        if (text::equalsIgnoreAsciiCase(ext, e))
            return false;
    }
    for (const auto& e : includeExtensions) {
        if (e == u"*" || text::equalsIgnoreAsciiCase(ext, e))
            return true;
    }
    return false;
}

}  // namespace soramine
