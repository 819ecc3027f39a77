#include "core/methods/replace.h"

#include <gtest/gtest.h>

#include "core/app/ini_file.h"
#include "core/engine/error_log.h"
#include "core/settings/records.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;
using testing::utf8;

TEST(Replace, TransformsNames) {
    struct Case {
        int mode;
        int caseSensitive;
        int ignoreExtension;
        std::u16string_view position;
        std::u16string_view search;
        std::u16string_view replacement;
        std::u16string_view name;
        std::u16string_view folder;
        bool folderMode;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {0, 1, 1, u"1", u"a", u"b", u"banana.txt", u"/f/", false, u"bbnbnb.txt"},
        {0, 1, 0, u"1", u"a", u"b", u"banana.txt", u"/f/", false, u"bbnbnb.txt"},
        {0, 1, 0, u"1", u"t", u"x", u"tat.txt", u"/f/", false, u"xax.xxx"},
        {0, 1, 1, u"1", u"t", u"x", u"tat.txt", u"/f/", false, u"xax.txt"},
        {0, 0, 1, u"1", u"AB", u"x", u"abAbaB.txt", u"/f/", false, u"xxx.txt"},
        {0, 0, 1, u"1", u"a", u"aa", u"aaa", u"/f/", false, u"aaaaaa"},
        {0, 0, 1, u"1", u"ａ", u"x", u"Ａａa", u"/f/", false, u"Ａxa"},
        {0, 1, 1, u"1", u"", u"x", u"abc.txt", u"/f/", false, u"abc.txt"},
        {0, 1, 1, u"1", u"a", u"b", u"aa", u"/f/", false, u"bb"},
        {0, 1, 0, u"1", u"IMG*", u"photo", u"IMG_0012.JPG", u"/f/", false, u"photo.JPG"},
        {0, 1, 0, u"1", u"IMG*", u"photo", u"IMG_0012.JPG", u"/f/", true, u"photo"},
        {0, 0, 0, u"1", u"img*", u"p", u"IMG_1.JPG", u"/f/", false, u"p.JPG"},
        {0, 1, 1, u"1", u"*_", u"x", u"a_b_c.txt", u"/f/", false, u"xb_c.txt"},
        {0, 1, 1, u"1", u"a*z", u"x", u"abc.txt", u"/f/", false, u"abc.txt"},
        {0, 1, 1, u"1", u"q*", u"x", u"abc.txt", u"/f/", false, u"abc.txt"},
        {0, 1, 0, u"1", u"cd*", u"x", u"a.b.cde", u"/f/", false, u"a.b.xcde"},
        {0, 0, 1, u"1", u"B*D", u"-", u"abcdbd", u"/f/", false, u"a-bd"},
        {1, 1, 1, u"3", u"", u"XY", u"abcdef.txt", u"/f/", false, u"abXYef.txt"},
        {1, 1, 1, u"4", u"", u"XYZ", u"abcdef", u"/f/", false, u"abcXYZ"},
        {1, 1, 1, u"1", u"", u"", u"abc", u"/f/", false, u"abc"},
        {1, 1, 1, u"1", u"", u"\\-", u"abcdef", u"/m/trip/", false, u"trip-cdef"},
        {0, 1, 1, u"1", u"a", u"\\_", u"a.jpg", u"D:\\photos\\2020\\", false, u"2020_.jpg"},
        {0, 1, 1, u"1", u"a", u"\\_", u"a.jpg", u"/photos/2020/", false, u"2020_.jpg"},
        {0, 1, 1, u"1", u"a", u"\\", u"a.txt", u"C:\\", false, u"C.txt"},
        {0, 1, 1, u"1", u"x", u"y", u"a\\b.txt", u"/f/", false, u"a\\b.txt"},
    };
    for (const Case& c : cases) {
        ReplacePage page;
        page.settings = {c.mode, c.caseSensitive, c.ignoreExtension, std::u16string(c.position)};
        page.search.text = c.search;
        page.replacement.text = c.replacement;
        RunContext run{{c.folderMode, false}};
        EXPECT_EQ(utf8(page.transform({.name = c.name, .folder = c.folder}, run)), utf8(c.expected))
            << utf8(c.search) << " -> " << utf8(c.replacement) << " in " << utf8(c.name);
        EXPECT_EQ(run.log.text(), u"");
    }
}

TEST(Replace, AnOverwritePastTheEndIsLoggedAndKeepsTheName) {
    ReplacePage page;
    page.settings.mode = 1;
    page.settings.position = u"5";
    page.replacement.text = u"XYZ";
    RunContext run{{false, false}};
    EXPECT_EQ(page.transform({.name = u"abcdef", .folder = u"/f/"}, run), u"abcdef");
    EXPECT_EQ(run.log.text(), u"置換後の文字数が多いです - abcdef\r\n");
}

TEST(Replace, ValidatesPositionAndWildcards) {
    struct Case {
        int mode;
        std::u16string_view position;
        std::u16string_view search;
        std::optional<std::u16string_view> message;
    };
    const Case cases[] = {
        {1, u"10", u"**", std::nullopt},
        {1, u"1", u"", std::nullopt},
        {1, u"0", u"", u"変更位置が不正です。"},
        {1, u"", u"", u"変更位置が不正です。"},
        {1, u"1a", u"", u"変更位置が不正です。"},
        {1, u"-1", u"", u"変更位置が不正です。"},
        {0, u"", u"a*b", std::nullopt},
        {0, u"x", u"a*b*", u"ワイルドカード\"*\"が二つ以上あります。"},
    };
    for (const Case& c : cases) {
        ReplacePage page;
        page.settings.mode = c.mode;
        page.settings.position = c.position;
        page.search.text = c.search;
        RunContext run;
        const auto message = page.validate(run);
        ASSERT_EQ(message.has_value(), c.message.has_value()) << utf8(c.position);
        if (message) {
            EXPECT_EQ(message->text, *c.message);
            EXPECT_EQ(message->caption, u"エラー");
        }
    }
}

TEST(Replace, RegularExpressions) {
    struct Case {
        int caseSensitive;
        int ignoreExtension;
        std::u16string_view search;
        std::u16string_view replacement;
        std::u16string_view name;
        std::u16string_view folder;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {1, 1, u"(\\d+)", u"n$1", u"a12b3.txt", u"/f/", u"an12bn3.txt"},
        {1, 1, u"^(\\w+)_(\\w+)$", u"$2_$1", u"foo_bar.jpg", u"/f/", u"bar_foo.jpg"},
        {1, 0, u"^(\\w+)_(\\w+)$", u"$2_$1", u"foo_bar.jpg", u"/f/", u"foo_bar.jpg"},
        {1, 1, u"(?<y>\\d{4})-(?<m>\\d\\d)", u"${m}${y}", u"2020-05.txt", u"/f/", u"052020.txt"},
        {1, 1, u"(a)(b)", u"${2}${1}$$", u"ab.txt", u"/f/", u"ba$.txt"},
        {0, 1, u"img", u"p", u"IMG_img.JPG", u"/f/", u"p_p.JPG"},
        {1, 1, u"img", u"p", u"IMG_img.JPG", u"/f/", u"IMG_p.JPG"},
        {1, 1, u"q", u"x", u"abc.txt", u"/f/", u"abc.txt"},
        {1, 1, u"", u"x", u"abc.txt", u"/f/", u"abc.txt"},
        // Empty matches: one insertion at every position.
        {1, 1, u"x*", u"-", u"ab", u"/f/", u"-a-b-"},
        // A surrogate pair is one character; Japanese letters are word characters.
        {1, 1, u".", u"[$0]", u"𠮷a", u"/f/", u"[𠮷][a]"},
        {1, 1, u"\\w+", u"x", u"写真 01", u"/f/", u"x x"},
        // A carried byte of a name that is not UTF-8 stays as it is.
        {1, 1, u"b", u"x",
         u"a\xDC80"
         u"b",
         u"/f/",
         u"a\xDC80"
         u"x"},
        // "\" is the folder's name; a "$" in that name is a plain character.
        {1, 1, u"(a)", u"\\_$1", u"a.txt", u"/p/$1x/", u"$1x_a.txt"},
    };
    for (const Case& c : cases) {
        ReplacePage page;
        page.settings = {0, c.caseSensitive, c.ignoreExtension, u"1", 1};
        page.search.text = c.search;
        page.replacement.text = c.replacement;
        RunContext run{{false, false}};
        ASSERT_FALSE(page.validate(run)) << utf8(c.search);
        EXPECT_EQ(utf8(page.transform({.name = c.name, .folder = c.folder}, run)), utf8(c.expected))
            << utf8(c.search) << " -> " << utf8(c.replacement) << " in " << utf8(c.name);
        EXPECT_EQ(run.log.text(), u"");
    }
}

TEST(Replace, RefusesInvalidExpressionsWithTheLibrarysReason) {
    struct Case {
        std::u16string_view search;
        std::u16string_view replacement;
        std::u16string_view message;  // empty: accepted
    };
    const Case cases[] = {
        {u"a*b*", u"x", u""},  // two stars are no wildcard error here
        {u"(a", u"x",
         u"変更前の文字の正規表現が不正です。\r\n3文字目: missing closing parenthesis"},
        {u"(a)", u"$2", u"変更後の文字の参照が不正です。\r\n1文字目: unknown substring"},
        {u"(a)", u"x${y}", u"変更後の文字の参照が不正です。\r\n2文字目: unknown substring"},
        {u"(a)", u"$x", u"変更後の文字の参照が不正です。\r\n1文字目: invalid replacement string"},
        {u"(a)", u"${1", u"変更後の文字の参照が不正です。\r\n1文字目: invalid replacement string"},
        {u"(?<y>a)", u"${y}$1$$", u""},
    };
    for (const Case& c : cases) {
        ReplacePage page;
        page.settings.regex = 1;
        page.search.text = c.search;
        page.replacement.text = c.replacement;
        RunContext run;
        const auto message = page.validate(run);
        EXPECT_EQ(utf8(message ? message->text : u""), utf8(c.message)) << utf8(c.search);
    }
}

// The flag is a seventh record written only while it is on: off, the block is the six
// records as always; on, a reader that takes six records and their texts still reads it.
TEST(Replace, RegexFlagRecordFollowsTheSixRecords) {
    for (const int regex : {0, 1}) {
        ReplacePage page;
        page.settings = {0, 1, 1, u"1", regex};
        page.search.text = u"(a)";
        page.replacement.text = u"$1";
        BlockWriter out(50);
        page.saveBlock(out);
        const std::string file = std::string(50, '\0') + out.bytes();
        const std::size_t records = 6 + regex;
        ASSERT_EQ(file.size(), 50 + 16 * records + 2 * (3 + 1 + 2)) << regex;

        BlockReader sixOnly(file, 50, 50 + 16 * records);
        const auto six = sixOnly.records(6);
        ASSERT_TRUE(six);
        EXPECT_EQ(sixOnly.text((*six)[2]), u"(a)");
        EXPECT_EQ(sixOnly.text((*six)[5]), u"$1");

        BlockReader in(file, 50, 50 + 16 * records);
        ReplacePage back;
        back.settings.regex = 1 - regex;
        ASSERT_TRUE(back.loadBlock(in));
        EXPECT_EQ(back.settings.regex, regex);
        EXPECT_EQ(back.search.text, u"(a)");
    }
}

TEST(Replace, RegexKeyIsWrittenOnlyWhileOn) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    ReplacePage page;
    page.settings = {0, 1, 1, u"1", 1};
    page.writeIni(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"),
              "[置換]\r\n置換方法=0\r\n区別=1\r\n拡張子=1\r\n位置=1\r\n正規表現=1\r\n");
    ReplacePage back;
    back.readIni(ini);
    EXPECT_EQ(back.settings.regex, 1);
    back.settings.regex = 0;
    back.writeIni(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"), "[置換]\r\n置換方法=0\r\n区別=1\r\n拡張子=1\r\n位置=1\r\n");
}

TEST(Replace, PositionBoxFallsBackToOneWhileTyping) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"12", u"12"}, {u"3a", u"3a"}, {u"0", u"1"},  {u"", u"1"},
        {u"a3", u"1"},  {u"-4", u"1"},  {u"00", u"1"},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(utf8(repairedPosition(typed)), utf8(expected)) << utf8(typed);
}

// Written and read against the settings file's own text, so that a wrong key name fails.
TEST(Replace, IniKeysRoundTrip) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    ReplacePage page;
    page.settings = {1, 0, 1, u"7"};
    page.writeIni(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"), "[置換]\r\n置換方法=1\r\n区別=0\r\n拡張子=1\r\n位置=7\r\n");

    // The same keys in another section must not be read.
    dir.write("ソラミネ.ini",
              "[追加]\r\n置換方法=3\r\n位置=9\r\n"
              "[置換]\r\n位置=12\r\n拡張子=0\r\n区別=0\r\n置換方法=2\r\n");
    ReplacePage back;
    back.readIni(ini);
    EXPECT_EQ(back.settings.mode, 2);
    EXPECT_EQ(back.settings.caseSensitive, 0);
    EXPECT_EQ(back.settings.ignoreExtension, 0);
    EXPECT_EQ(back.settings.position, u"12");
}

TEST(Replace, NamedSettingsReachThePageValues) {
    ReplacePage page;
    for (const NamedSetting& s : page.namedSettings()) {
        if (s.name == u"変更後")
            *s.text = u"x";
        if (s.name == u"区別")
            *s.number = 0;
        if (s.name == u"正規表現")
            *s.number = 1;
    }
    EXPECT_EQ(page.replacement.text, u"x");
    EXPECT_EQ(page.settings.caseSensitive, 0);
    EXPECT_EQ(page.settings.regex, 1);
}

}  // namespace
}  // namespace soramine
