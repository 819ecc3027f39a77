#include "core/text/forbidden_chars.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace soramine::text {
namespace {

using testing::utf8;

TEST(ForbiddenChars, EachSetHasItsMessage) {
    const std::pair<ForbiddenSet, std::u16string_view> cases[] = {
        {ForbiddenSet::All, u"ファイル名に \"/ ? * \" < > | \\ : \" は使えません"},
        {ForbiddenSet::NoAsteriskNoBackslash, u"ファイル名に \"/ ? \" < > | : \" は使えません"},
        {ForbiddenSet::NoBackslash, u"ファイル名に \"/ ? * \" < > | : \" は使えません"},
        {ForbiddenSet::NoAsterisk, u"ファイル名に \"/ ? \" < > | \\ : \" は使えません"},
        {ForbiddenSet::NoAngleBrackets, u"ファイル名に \"/ ? * \" | \\ : \" は使えません"},
    };
    for (const auto& [set, text] : cases) {
        const Message m = forbiddenMessage(set);
        EXPECT_EQ(utf8(m.text), utf8(text));
        EXPECT_EQ(utf8(m.caption), "エラー");
        EXPECT_EQ(m.icon, Icon::Error);
    }
}

TEST(ForbiddenChars, RepairsByDeletingOrByFullWidthCounterparts) {
    struct Case {
        ForbiddenSet set;
        bool fullWidth;
        std::u16string_view text;
        std::u16string_view repaired;
        bool message;
    };
    const Case cases[] = {
        {ForbiddenSet::All, false, u"plain name.txt", u"plain name.txt", false},
        {ForbiddenSet::All, false, u"a/b?c*d\"e<f>g|h\\i:j\tk", u"abcdefghijk", true},
        {ForbiddenSet::All, true, u"/?*\"<>|\\:\t", u"／？＊”＜＞｜￥： ", false},
        {ForbiddenSet::NoAsteriskNoBackslash, false, u"x*\\y:z", u"x*\\yz", true},
        {ForbiddenSet::NoAsteriskNoBackslash, true, u"*:\\", u"*：\\", false},
        {ForbiddenSet::NoBackslash, false, u"\\*a", u"\\a", true},
        {ForbiddenSet::NoAsterisk, true, u"a*b\\", u"a*b￥", false},
        {ForbiddenSet::NoAngleBrackets, false, u"<1>|2", u"<1>2", true},
        {ForbiddenSet::NoAngleBrackets, true, u"<\t>", u"< >", false},
    };
    for (const Case& c : cases) {
        const ForbiddenRepair r = checkForbiddenChars(c.text, c.set, c.fullWidth);
        EXPECT_EQ(utf8(r.text), utf8(c.repaired)) << utf8(c.text);
        EXPECT_EQ(r.message.has_value(), c.message) << utf8(c.text);
        if (r.message) {
            EXPECT_EQ(*r.message, forbiddenMessage(c.set));
        }
    }
}

TEST(ForbiddenChars, TypingPutsTheCaretBackByTheNumberDeleted) {
    struct Case {
        std::u16string_view text;
        bool fullWidth;
        int selectionEnd;
        std::u16string_view repaired;
        int caret;
    };
    const Case cases[] = {
        {u"ab/c", false, 3, u"abc", 2},  {u"a//b", false, 3, u"ab", 1},
        {u"ab/c", true, 3, u"ab／c", 3}, {u"abc", false, 2, u"abc", 2},
        {u"///", false, 1, u"", 0},      {u"a/", false, 9, u"a", 1},
    };
    for (const Case& c : cases) {
        const TypingRepair r =
            repairWhileTyping(c.text, ForbiddenSet::All, c.fullWidth, c.selectionEnd);
        EXPECT_EQ(utf8(r.text), utf8(c.repaired)) << utf8(c.text);
        EXPECT_EQ(r.caret, c.caret) << utf8(c.text);
    }
}

}  // namespace
}  // namespace soramine::text
