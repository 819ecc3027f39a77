#include "core/text/strings.h"

#include <gtest/gtest.h>

namespace soramine::text {
namespace {

TEST(Strings, LeadingIntReadsLikeAtoi) {
    struct Case {
        std::u16string text;
        std::int32_t value;
    } cases[] = {{u"12", 12},
                 {u"-5", -5},
                 {u"1-2", 1},
                 {u"-", 0},
                 {u"", 0},
                 {u" 7x", 7},
                 {u"+3", 3},
                 {u"1.5", 1},
                 {u"abc", 0},
                 {u"99999999999", 2147483647},
                 {u"-99999999999", -2147483647 - 1}};
    for (const auto& c : cases)
        EXPECT_EQ(leadingInt(c.text), c.value);
}

TEST(Strings, FolderNameForSubstitution) {
    struct Case {
        std::u16string folder, name;
    } cases[] = {{u"D:\\photos\\2020\\", u"2020"},
                 {u"C:\\", u"C"},
                 {u"/home/a/", u"a"},
                 {u"/", u""},
                 {u"", u""},
                 {u"E:\\music", u"music"}};
    for (const auto& c : cases)
        EXPECT_EQ(folderNameOf(c.folder), c.name);
}

TEST(Strings, ReplaceAllReplacesEachMatchOnce) {
    // Growing, equal and shrinking replacements (the last two are done in place).
    const struct {
        std::u16string_view text, from, to, expected;
    } cases[] = {
        {u"aaa", u"a", u"aa", u"aaaaaa"}, {u"file_01.txt", u"file", u"item", u"item_01.txt"},
        {u"ababab", u"ab", u"x", u"xxx"}, {u"xabyabz", u"ab", u"", u"xyz"},
        {u"aaaa", u"aa", u"a", u"aa"},    {u"abc", u"abc", u"", u""},
        {u"abc", u"d", u"", u"abc"},      {u"-ab-ab", u"ab", u"c", u"-c-c"}};
    for (const auto& c : cases) {
        std::u16string s(c.text);
        replaceAll(s, c.from, c.to);
        EXPECT_EQ(s, c.expected);
    }
    EXPECT_TRUE(equalsIgnoreAsciiCase(u"abC", u"ABc"));
    EXPECT_FALSE(equalsIgnoreAsciiCase(u"ä", u"Ä"));
    EXPECT_EQ(extensionOf(u"a.tar.gz"), u".gz");
    EXPECT_EQ(extensionOf(u"README"), u"");
}

}  // namespace
}  // namespace soramine::text
