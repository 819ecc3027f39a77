#include "core/text/utf.h"

#include <gtest/gtest.h>

namespace soramine::text {
namespace {

TEST(Utf, ConvertsBothWays) {
    struct Case {
        std::string utf8;
        std::u16string utf16;
    } cases[] = {
        {"", u""},
        {"abc.txt", u"abc.txt"},
        {"写真_001.jpg", u"写真_001.jpg"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},  // outside the BMP: a surrogate pair
        // Non-ASCII at and across the four-unit steps of the ASCII runs.
        {"abcd写efgh", u"abcd写efgh"},
        {"abc\xF0\x9F\x98\x80"
         "defgh.txt",
         u"abc\U0001F600defgh.txt"},
        {"file_000123.txt", u"file_000123.txt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fromUtf8(c.utf8), c.utf16);
        EXPECT_EQ(toUtf8(c.utf16), c.utf8);
        EXPECT_TRUE(isValidUtf8(c.utf8));
    }
}

TEST(Utf, InvalidBytesSurviveTheRoundTrip) {
    const std::string samples[] = {
        std::string("caf\xE9", 4),            // Latin-1
        std::string("\x83\x65\x83\x58", 4),   // Shift_JIS
        std::string("\xED\xA0\x80", 3),       // an encoded surrogate
        std::string("\xC0\xAF", 2),           // an overlong "/": must not become a separator
        std::string("ab\xF0\x9F", 4),         // a truncated sequence
        std::string("abcdefgh\xE9ijkl", 13),  // after and before ASCII runs
    };
    for (const auto& s : samples) {
        EXPECT_FALSE(isValidUtf8(s));
        std::u16string decoded = fromUtf8(s);
        EXPECT_EQ(decoded.find(u'/'), std::u16string::npos);
        EXPECT_EQ(toUtf8(decoded), s);
    }
}

TEST(Utf, LoneSurrogatesOutsideTheEscapeRangeBecomeReplacement) {
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace soramine::text
