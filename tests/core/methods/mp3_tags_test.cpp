#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

#include "core/methods/mp3_tags.h"
#include "core/text/utf.h"

namespace soramine {
namespace {

std::string utf8(std::u16string_view s) {
    return text::toUtf8(s);
}

TEST(ParseTagFormat, SplitsTagsAndSeparators) {
    struct Case {
        std::u16string_view format;
        std::array<std::u16string_view, 5> separators;
        std::array<int, 5> order;
    };
    const Case cases[] = {
        {u"$A - $T", {u"", u" - ", u"", u"", u""}, {1, 2, -1, -1, -1}},
        {u"[$N]$T", {u"[", u"]", u"", u"", u""}, {-1, 3, 2, -1, -1}},
        {u"$L_$A_$T_$N", {u"", u"_", u"_", u"_", u""}, {0, 1, 2, 3, -1}},
        {u"$X$A", {u"$X", u"", u"", u"", u""}, {-1, 1, -1, -1, -1}},
        {u"$a-$A", {u"$a-", u"", u"", u"", u""}, {-1, 1, -1, -1, -1}},
        // The fifth tag after leading text finds no slot: parsing stops.
        {u"x$L-$A-$T-$N-$L", {u"x", u"-", u"-", u"-", u""}, {-1, 0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        auto parsed = parseTagFormat(c.format);
        ASSERT_TRUE(parsed.ok()) << utf8(c.format);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(parsed->tagSeparators[i], c.separators[i]) << utf8(c.format) << " " << i;
            EXPECT_EQ(parsed->tagOrder[i], c.order[i]) << utf8(c.format) << " " << i;
        }
    }
}

TEST(ParseTagFormat, RefusesWithItsMessages) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"$N$T", u"設定の形式が不正です(区切り無し)"},
        {u"$A-$A", u"設定の形式が不正です(同じ項目)\r\n"},
        {u"artist - title", u"設定の形式が不正です(項目無し)"},
        {u"", u"設定の形式が不正です(項目無し)"},
    };
    for (auto [format, text] : cases) {
        auto parsed = parseTagFormat(format);
        ASSERT_FALSE(parsed.ok()) << utf8(format);
        EXPECT_EQ(parsed.error(), errorMessage(std::u16string(text)));
    }
}

}  // namespace
}  // namespace soramine
