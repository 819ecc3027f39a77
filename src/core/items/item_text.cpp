#include "core/items/item_text.h"

#include "core/platform/clock.h"

namespace soramine {
namespace {

// "%0*d" into a buffer: at least `width` digits; a negative value gets its sign in front.
char16_t* putNumber(char16_t* out, int value, int width) {
    if (value < 0) {
        *out++ = u'-';
        return putNumber(out, -value, width - 1);
    }
    char16_t digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int i = n; i < width; ++i)
        *out++ = u'0';
    while (n > 0)
        *out++ = digits[--n];
    return out;
}

}  // namespace

std::u16string dateText(std::optional<platform::FileTime> t) {
    if (!t)
        return {};
    // Files of one folder often share their second: the text of the last one is kept.
    thread_local std::int64_t lastSeconds = 0;
    thread_local std::u16string lastText;
    if (!lastText.empty() && lastSeconds == t->seconds)
        return lastText;
    auto local = platform::toLocalTime(*t);
    platform::LocalTime f = local ? *local : platform::LocalTime{0, 0, 0, -1, -1, -1};
    char16_t buffer[64];
    char16_t* p = putNumber(buffer, f.year, 4);
    *p++ = u'年';
    p = putNumber(p, f.month, 2);
    *p++ = u'月';
    p = putNumber(p, f.day, 2);
    *p++ = u'日';
    *p++ = u'、';
    p = putNumber(p, f.hour, 2);
    *p++ = u':';
    p = putNumber(p, f.minute, 2);
    *p++ = u':';
    p = putNumber(p, f.second, 2);
    *p++ = u'\n';
    lastSeconds = t->seconds;
    lastText.assign(buffer, p);
    return lastText;
}

std::u16string sizeText(std::uint64_t bytes) {
    char16_t digits[32];
    int n = 0;
    do {
        if (n % 4 == 3)
            digits[n++] = u',';
        digits[n++] = static_cast<char16_t>(u'0' + bytes % 10);
        bytes /= 10;
    } while (bytes > 0);
    std::u16string out(static_cast<size_t>(n), u'0');
    for (char16_t& c : out)
        c = digits[--n];
    return out;
}

}  // namespace soramine
