#include "core/items/item_text.h"

#include "core/platform/clock.h"

namespace soramine {
namespace {

// "%0*d": at least `width` digits; a negative value gets its sign in front of them.
void appendNumber(std::u16string& out, int value, int width) {
    if (value < 0) {
        out += u'-';
        appendNumber(out, -value, width - 1);
        return;
    }
    char16_t digits[12];
    int n = 0;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int i = n; i < width; ++i)
        out += u'0';
    while (n > 0)
        out += digits[--n];
}

}  // namespace

std::u16string dateText(std::optional<platform::FileTime> t) {
    if (!t)
        return {};
    auto local = platform::toLocalTime(*t);
    platform::LocalTime f = local ? *local : platform::LocalTime{0, 0, 0, -1, -1, -1};
    std::u16string out;
    out.reserve(22);
    appendNumber(out, f.year, 4);
    out += u'年';
    appendNumber(out, f.month, 2);
    out += u'月';
    appendNumber(out, f.day, 2);
    out += u"日、";
    appendNumber(out, f.hour, 2);
    out += u':';
    appendNumber(out, f.minute, 2);
    out += u':';
    appendNumber(out, f.second, 2);
    out += u'\n';
    return out;
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
    std::u16string out;
    out.reserve(static_cast<size_t>(n));
    while (n > 0)
        out += digits[--n];
    return out;
}

}  // namespace soramine
