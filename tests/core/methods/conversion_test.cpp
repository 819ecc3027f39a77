#include "core/methods/conversion.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/app/ini_file.h"
#include "core/engine/engine_fixture.h"
#include "support/record_bytes.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::recordBytes;
using testing::TempDir;
using testing::utf16le;
using testing::utf8;

// The new names of a run of `names`, prepared as the engine prepares it.
std::vector<std::u16string> converted(ConversionPage& page, std::vector<std::u16string> names,
                                      bool folderMode = false) {
    ItemTable table;
    std::vector<std::size_t> rows;
    for (auto& name : names) {
        rows.push_back(rows.size());
        table.append(Row{std::move(name), u"/f/"});
    }
    RunContext run{{folderMode, false}};
    testing::FakeHost host;
    std::size_t count = rows.size();
    EXPECT_FALSE(page.validate(run));
    EXPECT_FALSE(page.prepare(RunItems{table, rows}, run.env, host, count));
    std::vector<std::u16string> out;
    for (std::size_t k = 0; k < rows.size(); ++k)
        out.push_back(page.transform({.name = table.name(k), .folder = u"/f/"}, run));
    EXPECT_EQ(run.log.text(), u"");
    return out;
}

TEST(Conversion, ConvertsEachName) {
    struct Case {
        ConversionSettings settings;  // mode, ext, letters, alphabet, digits, kana, symbols
        std::u16string_view name;
        std::u16string_view expected;
        bool folderMode = false;
    };
    const Case cases[] = {
        {{kToLowerCase, 1, 1, 1, 1, 0, 0, 0, u"0"}, u"PHOTO.JPG", u"photo.JPG"},
        {{kToLowerCase, 0, 1, 1, 1, 0, 0, 0, u"0"}, u"PHOTO.JPG", u"photo.jpg"},
        {{kToLowerCase, 1, 1, 1, 1, 0, 0, 0, u"0"}, u"ＡＢC.TXT", u"ＡＢc.TXT"},
        {{kToUpperCase, 1, 1, 1, 1, 0, 0, 0, u"0"}, u".profile", u".PROFILE"},
        {{kToUpperCase, 1, 1, 1, 1, 0, 0, 0, u"0"}, u"dir.name", u"DIR.NAME", true},
        {{kHiraganaToKatakana, 1, 1, 1, 1, 0, 0, 0, u"0"}, u"ひらがな.txt", u"ヒラガナ.txt"},
        {{kHiraganaToKatakana, 1, 1, 1, 1, 0, 0, 0, u"0"}, u"きゃ", u"キゃ"},
        {{kKatakanaToHiragana, 0, 1, 1, 1, 0, 0, 0, u"0"}, u"カナ.カナ", u"かな.かな"},
        {{kCapitaliseWords, 1, 1, 1, 1, 0, 0, 0, u"0"},
         u"HELLO world-mp3player.TXT",
         u"Hello World-Mp3Player.TXT"},
        {{kCapitaliseWords, 1, 0, 1, 1, 0, 0, 0, u"0"},
         u"HELLO world-mp3player.TXT",
         u"Hello World-mp3player.TXT"},
        {{kCapitaliseWords, 0, 1, 1, 1, 0, 0, 0, u"0"}, u"a b.txt", u"A B.txt"},
        {{kCapitaliseWords, 0, 1, 1, 1, 0, 0, 0, u"0"}, u"1st_TAKE (live)", u"1St_Take (Live)"},
        {{kCapitaliseWords, 0, 0, 1, 1, 0, 0, 0, u"0"}, u"1st_TAKE (live)", u"1st_take (live)"},
        {{kCapitaliseWords, 0, 1, 1, 1, 0, 0, 0, u"0"}, u"my.dir", u"My.Dir", true},
        {{kToHalfWidth, 1, 1, 1, 1, 1, 0, 0, u"0"}, u"ガイド.txt", u"ｶﾞｲﾄﾞ.txt"},
        {{kToFullWidth, 1, 1, 1, 1, 1, 0, 0, u"0"}, u"ｶﾞｲﾄﾞ.txt", u"ガイド.txt"},
        {{kToHalfWidth, 1, 1, 0, 1, 0, 0, 0, u"0"}, u"ＡＢ１２", u"ＡＢ12"},
        {{kToFullWidth, 0, 1, 1, 0, 0, 0, 0, u"0"}, u"ab1.txt", u"ａｂ1.ｔｘｔ"},
        {{kToFullWidth, 0, 1, 0, 0, 0, 1, 0, u"0"}, u"a b.c", u"a　b．c"},
        {{kReverse, 1, 1, 1, 1, 0, 0, 0, u"0"}, u"abc.txt", u"cba.txt"},
        {{kReverse, 0, 1, 1, 1, 0, 0, 0, u"0"}, u"abc.txt", u"txt.cba"},
        {{kReverse, 1, 1, 1, 1, 0, 0, 0, u"0"}, u"a😀b.png", u"b😀a.png"},
        {{kReverse, 1, 1, 1, 1, 0, 0, 0, u"0"}, u"ab.c", u"c.ba", true},
        {{99, 1, 1, 1, 1, 0, 0, 0, u"0"}, u"Kept.TXT", u"Kept.TXT"},
    };
    for (const Case& c : cases) {
        ConversionPage page;
        page.settings = c.settings;
        EXPECT_EQ(utf8(converted(page, {std::u16string(c.name)}, c.folderMode)[0]),
                  utf8(c.expected))
            << "mode " << c.settings.mode << " " << utf8(c.name);
    }
}

TEST(Conversion, AdjustFillsUpToTheLongestName) {
    using Names = std::vector<std::u16string>;
    struct Case {
        int ignoreExtension;
        int behind;
        std::u16string_view fill;
        bool folderMode;
        Names names;
        Names expected;
    };
    const Case cases[] = {
        {1,
         0,
         u"0",
         false,
         {u"a.txt", u"abc.txt", u"hello.txt"},
         {u"0000a.txt", u"00abc.txt", u"hello.txt"}},
        {1,
         1,
         u"0",
         false,
         {u"a.txt", u"abc.txt", u"hello.txt"},
         {u"a0000.txt", u"abc00.txt", u"hello.txt"}},
        {0, 0, u"_", false, {u"a.txt", u"abcdef"}, {u"_a.txt", u"abcdef"}},
        {1, 0, u"", false, {u"a.txt", u"abc.txt"}, {u"a.txt", u"abc.txt"}},
        {1, 0, u"ab", false, {u"a", u"abcd"}, {u"ababa", u"abcd"}},
        // The longest is measured as the transform works: a dot file whole, a folder whole.
        {1, 0, u"0", false, {u".bashrc", u"a.txt"}, {u".bashrc", u"000000a.txt"}},
        {1, 0, u"0", true, {u"2020.01", u"a"}, {u"2020.01", u"000000a"}},
    };
    for (const Case& c : cases) {
        ConversionPage page;
        page.settings.mode = kPadToLongest;
        page.settings.ignoreExtension = c.ignoreExtension;
        page.settings.padBehind = c.behind;
        page.settings.fill = c.fill;
        const Names out = converted(page, c.names, c.folderMode);
        ASSERT_EQ(out.size(), c.expected.size());
        for (std::size_t i = 0; i < out.size(); ++i)
            EXPECT_EQ(utf8(out[i]), utf8(c.expected[i])) << utf8(c.names[i]);
    }
}

TEST(Conversion, LongestNameLengthCountsOnlyTheRunsItems) {
    ItemTable table;
    for (auto name : {u"abc.txt", u"abcdef", u"x.longext", u"skipped-row-name"})
        table.append(Row{name, u"/f/"});
    const std::vector<std::size_t> rows = {0, 1, 2};
    const RunItems items{table, rows};
    EXPECT_EQ(longestNameLength(items, false, false), 9);
    EXPECT_EQ(longestNameLength(items, true, false), 6);
    EXPECT_EQ(longestNameLength(items, true, true), 9);
}

TEST(Conversion, FillBoxTakesOneSingleByteCharacter) {
    const std::pair<std::u16string_view, std::optional<std::u16string_view>> cases[] = {
        {u"", std::nullopt},
        {u"0", std::nullopt},
        {u"_", std::nullopt},
        {u"ｱ", std::nullopt},  // half-width katakana is one byte in code page 932
        {u"12", u"半角文字を一文字だけ入力して下さい。"},
        {u"０", u"全角文字は使えません。"},
        {u"あ", u"全角文字は使えません。"},
        {u"😀", u"半角文字を一文字だけ入力して下さい。"},
    };
    for (const auto& [typed, message] : cases) {
        const auto problem = fillTextProblem(typed);
        ASSERT_EQ(problem.has_value(), message.has_value()) << utf8(typed);
        if (problem) {
            EXPECT_EQ(*problem, errorMessage(std::u16string(*message)));
        }
    }
}

TEST(Conversion, BlockOfNineRecordsByteForByte) {
    ConversionPage page;
    page.settings = {kPadToLongest, 0, 1, 0, 1, 1, 0, 1, u"x"};
    BlockWriter out(50);
    page.saveBlock(out);
    const std::string expected = recordBytes(1092, 0, 1, 0) + recordBytes(1018, 0, 1, 8) +
                                 recordBytes(1226, 0, 1, 1) + recordBytes(1135, 0, 1, 0) +
                                 recordBytes(1136, 0, 1, 1) + recordBytes(1137, 0, 1, 1) +
                                 recordBytes(1138, 0, 1, 0) + recordBytes(1131, 0, 1, 1) +
                                 recordBytes(1133, 1, 1, 50 + 144) + utf16le(u"x");
    EXPECT_EQ(out.bytes(), expected);

    const std::string file = std::string(50, '\0') + out.bytes();
    BlockReader in(file, 50, file.size());
    ConversionPage back;
    ASSERT_TRUE(back.loadBlock(in));
    EXPECT_EQ(back.settings.mode, kPadToLongest);
    EXPECT_EQ(back.settings.ignoreExtension, 0);
    EXPECT_EQ(back.settings.alphabet, 0);
    EXPECT_EQ(back.settings.katakana, 1);
    EXPECT_EQ(back.settings.padBehind, 1);
    EXPECT_EQ(back.settings.fill, u"x");
}

TEST(Conversion, IniKeysRoundTrip) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    ConversionPage page;
    page.settings = {kToFullWidth, 0, 0, 1, 0, 1, 1, 1, u"_"};
    page.writeIni(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"),
              "[その他]\r\n選択=6\r\n拡張子=0\r\n英字=0\r\nアルファベット=1\r\n数字=0\r\n"
              "カタカナ=1\r\n記号=1\r\n位置=1\r\n埋め=_\r\n");
    ConversionPage back;
    back.readIni(ini);
    EXPECT_EQ(back.settings.mode, kToFullWidth);
    EXPECT_EQ(back.settings.symbols, 1);
    EXPECT_EQ(back.settings.fill, u"_");
}

}  // namespace
}  // namespace soramine
