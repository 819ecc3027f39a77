#include "core/text/strings.h"

#include <algorithm>
#include <limits>

namespace soramine::text {

char16_t upperAscii(char16_t c) {
    return (c >= u'a' && c <= u'z') ? c - u'a' + u'A' : c;
}

std::u16string upperAscii(std::u16string_view s) {
    std::u16string out(s);
    upperAsciiInPlace(out);
    return out;
}

void upperAsciiInPlace(std::u16string& s) {
    for (char16_t& c : s)
        c = upperAscii(c);
}

void lowerAsciiInPlace(std::u16string& s) {
    for (char16_t& c : s) {
        if (c >= u'A' && c <= u'Z')
            c = c - u'A' + u'a';
    }
}

bool equalsIgnoreAsciiCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (upperAscii(a[i]) != upperAscii(b[i]))
            return false;
    }
    return true;
}

std::u16string fromAscii(std::string_view s) {
    return std::u16string(s.begin(), s.end());
}

std::u16string decimal(long long value) {
    return fromAscii(std::to_string(value));
}

std::int32_t leadingInt(std::u16string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == u' ' || (s[i] >= u'\t' && s[i] <= u'\r')))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
        negative = s[i++] == u'-';
    long long value = 0;
    constexpr long long kLimit =
        static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
        value = value * 10 + (s[i] - u'0');
        if (value > kLimit)
            value = kLimit;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<std::int32_t>::max())
        value = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

bool consistsOf(std::u16string_view s, std::u16string_view allowed) {
    return s.find_first_not_of(allowed) == std::u16string_view::npos;
}

void replaceAll(std::u16string& s, std::u16string_view from, std::u16string_view to) {
    if (from.empty())
        return;
    size_t pos = s.find(from);
    if (pos == std::u16string::npos)
        return;
    if (to.size() <= from.size()) {
        // The text does not grow: one pass in place, writing never overtakes reading.
        size_t write = pos;
        size_t read = pos;
        for (; pos != std::u16string::npos; pos = s.find(from, read)) {
            std::copy(s.begin() + static_cast<std::ptrdiff_t>(read),
                      s.begin() + static_cast<std::ptrdiff_t>(pos),
                      s.begin() + static_cast<std::ptrdiff_t>(write));
            write += pos - read;
            std::copy(to.begin(), to.end(), s.begin() + static_cast<std::ptrdiff_t>(write));
            write += to.size();
            read = pos + from.size();
        }
        std::copy(s.begin() + static_cast<std::ptrdiff_t>(read), s.end(),
                  s.begin() + static_cast<std::ptrdiff_t>(write));
        s.resize(write + (s.size() - read));
        return;
    }
    // One pass into a new string: replacing in place would move the tail once per match.
    std::u16string out;
    out.reserve(s.size());
    size_t start = 0;
    for (; pos != std::u16string::npos; pos = s.find(from, start)) {
        out.append(s, start, pos - start);
        out.append(to);
        start = pos + from.size();
    }
    out.append(s, start);
    s = std::move(out);
}

void replaceAll(std::u16string& s, char16_t from, std::u16string_view to) {
    replaceAll(s, std::u16string_view(&from, 1), to);
}

std::u16string folderNameOf(std::u16string_view folder) {
    auto isSeparator = [](char16_t c) { return c == u'\\' || c == u'/'; };
    size_t end = folder.size();
    while (end > 0 && isSeparator(folder[end - 1]))
        --end;
    size_t start = end;
    while (start > 0 && !isSeparator(folder[start - 1]))
        --start;
    std::u16string out;
    for (char16_t c : folder.substr(start, end - start)) {
        if (c != u':')
            out += c;
    }
    return out;
}

std::u16string_view extensionOf(std::u16string_view name) {
    size_t dot = name.rfind(u'.');
    return dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot);
}

std::u16string_view extensionAfterStem(std::u16string_view name) {
    const std::u16string_view extension = extensionOf(name);
    return extension.size() == name.size() ? std::u16string_view() : extension;
}

}  // namespace soramine::text
