#include "core/methods/delete_extract.h"

#include <gtest/gtest.h>

#include "core/app/ini_file.h"
#include "core/engine/error_log.h"
#include "support/record_bytes.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::recordBytes;
using testing::TempDir;
using testing::utf16le;
using testing::utf8;

constexpr int kDelete = 0, kExtract = 1;
constexpr int kHead = 0, kTail = 1, kPosition = 2, kText = 3;

struct Case {
    int mode;
    const char16_t* count;
    int ignoreExtension;
    int where;
    int fromTail;
    const char16_t* position;
    int after;
    const char16_t* givenText;
    const char16_t* name;
    const char16_t* expected;  // the new name
    const char16_t* log;       // the error-log line, or empty
    bool folderMode = false;
};

TEST(DeleteExtract, TransformsNames) {
    const Case cases[] = {
        {kDelete, u"2", 1, kHead, 0, u"1", 0, u"@", u"photo_001.jpg", u"oto_001.jpg", u""},
        {kDelete, u"2", 1, kTail, 0, u"1", 0, u"@", u"photo_001.jpg", u"photo_0.jpg", u""},
        {kDelete, u"2", 0, kTail, 0, u"1", 0, u"@", u"photo_001.jpg", u"photo_001.j", u""},
        {kExtract, u"3", 1, kTail, 0, u"1", 0, u"@", u"IMG_1234.JPG", u"234.JPG", u""},
        {kExtract, u"3", 1, kHead, 0, u"1", 0, u"@", u"IMG_1234.JPG", u"IMG.JPG", u""},
        {kDelete, u"9", 1, kHead, 0, u"1", 0, u"@", u"abc.txt", u"abc.txt",
         u"削除文字数が多すぎます - abc.txt\r\n"},
        {kExtract, u"9", 1, kText, 0, u"1", 0, u"b", u"abc.txt", u"abc.txt",
         u"抽出文字数が多すぎます - abc.txt\r\n"},
        // No dot, a leading dot only, folder mode: the whole name is the work text.
        {kDelete, u"2", 1, kHead, 0, u"1", 0, u"@", u"README", u"ADME", u""},
        {kDelete, u"2", 1, kHead, 0, u"1", 0, u"@", u".profile", u"rofile", u""},
        {kDelete, u"2", 1, kTail, 0, u"1", 0, u"@", u"a.b.c", u"a.c", u""},
        {kDelete, u"2", 1, kTail, 0, u"1", 0, u"@", u"photos.2020", u"photos.20", u"", true},
        {kDelete, u"3", 1, kHead, 0, u"1", 0, u"@", u"abc.txt", u".txt", u""},
        {kDelete, u"0", 1, kHead, 0, u"1", 0, u"@", u"abc.txt", u"abc.txt", u""},
        // From a position.
        {kDelete, u"2", 0, kPosition, 0, u"2", 0, u"@", u"abcdef", u"adef", u""},
        {kDelete, u"9", 0, kPosition, 0, u"5", 0, u"@", u"abcdef", u"abcd", u""},
        {kDelete, u"9", 0, kPosition, 0, u"6", 0, u"@", u"abcdef", u"abcdef",
         u"削除開始位置が不正です - abcdef\r\n"},
        {kDelete, u"1", 0, kPosition, 0, u"0", 0, u"@", u"abcdef", u"abcdef",
         u"削除開始位置が不正です - abcdef\r\n"},
        {kDelete, u"9", 0, kPosition, 0, u"0", 0, u"@", u"abcdef", u"", u""},
        {kDelete, u"2", 0, kPosition, 1, u"3", 0, u"@", u"abcdef", u"abcf", u""},
        {kDelete, u"2", 0, kPosition, 1, u"7", 0, u"@", u"abcdef", u"abcdef",
         u"削除開始位置が不正です - abcdef\r\n"},
        {kDelete, u"1", 1, kPosition, 0, u"99999999999", 0, u"@", u"ab.c", u"ab.c",
         u"削除開始位置が不正です - ab.c\r\n"},
        {kExtract, u"2", 0, kPosition, 0, u"2", 0, u"@", u"abcdef", u"cd", u""},
        {kExtract, u"2", 0, kPosition, 0, u"0", 0, u"@", u"abcdef", u"ab", u""},
        {kExtract, u"9", 0, kPosition, 0, u"4", 0, u"@", u"abcdef", u"ef", u""},
        {kExtract, u"2", 0, kPosition, 0, u"6", 0, u"@", u"abcdef", u"abcdef",
         u"抽出開始位置が不正です - abcdef\r\n"},
        {kExtract, u"1", 0, kPosition, 1, u"2", 0, u"@", u"abcdef", u"e", u""},
        {kExtract, u"9", 1, kPosition, 1, u"2", 0, u"@", u"abcdef.txt", u"ef.txt", u""},
        {kExtract, u"1", 0, kPosition, 1, u"7", 0, u"@", u"abcdef", u"abcdef",
         u"抽出開始位置が不正です - abcdef\r\n"},
        // Before or after a given text.
        {kDelete, u"3", 0, kText, 0, u"1", 1, u"_", u"IMG_1234", u"IMG_4", u""},
        {kDelete, u"5", 0, kText, 0, u"1", 0, u"_", u"IMG_1234", u"_1234", u""},
        {kDelete, u"5", 0, kText, 0, u"1", 1, u"_", u"IMG_12", u"IMG_", u""},
        {kDelete, u"1", 0, kText, 0, u"1", 1, u"_", u"a_b_c", u"a__c", u""},
        {kExtract, u"2", 0, kText, 0, u"1", 0, u"_", u"IMG_1234", u"MG", u""},
        {kExtract, u"2", 0, kText, 0, u"1", 1, u"_", u"IMG_1234", u"12", u""},
        {kExtract, u"5", 0, kText, 0, u"1", 0, u"_", u"IMG_1234", u"IMG", u""},
        {kExtract, u"5", 0, kText, 0, u"1", 1, u"_", u"IMG_12", u"12", u""},
        {kExtract, u"2", 0, kText, 0, u"1", 0, u"_", u"_abc", u"_abc",
         u"抽出開始位置が不正です - _abc\r\n"},
        {kExtract, u"2", 0, kText, 0, u"1", 1, u"c", u"abc", u"abc",
         u"抽出開始位置が不正です - abc\r\n"},
        {kDelete, u"2", 0, kText, 0, u"1", 1, u"X", u"IMG_1234", u"IMG_1234",
         u"指定の文字が見つかりません - IMG_1234\r\n"},
        {kDelete, u"2", 0, kText, 0, u"1", 1, u"img", u"IMG_1234", u"IMG_1234",
         u"指定の文字が見つかりません - IMG_1234\r\n"},
        {kDelete, u"2", 0, kText, 0, u"1", 1, u"", u"abcd", u"cd", u""},
        {kDelete, u"1", 1, kText, 0, u"1", 0, u".", u"a.b.txt", u".b.txt", u""},
    };
    for (const Case& c : cases) {
        DeleteExtractPage page;
        page.settings = {c.mode,     c.count,    c.ignoreExtension, c.where,
                         c.fromTail, c.position, c.after,           c.givenText};
        RunContext run{{c.folderMode, false}};
        const std::u16string_view name = c.name;
        EXPECT_EQ(utf8(page.transform({.name = name, .folder = u"/f/"}, run)), utf8(c.expected))
            << utf8(name) << " mode " << c.mode << " where " << c.where << " N " << utf8(c.count);
        EXPECT_EQ(utf8(run.log.text()), utf8(c.log)) << utf8(name);
    }
}

TEST(DeleteExtract, ValidatesCountAndPosition) {
    struct Check {
        int mode;
        std::u16string_view count;
        int where;
        std::u16string_view position;
        std::optional<std::u16string_view> message;
    };
    const Check cases[] = {
        {kDelete, u"12", kPosition, u"0", std::nullopt},
        {kDelete, u"", kHead, u"1", u"削除文字数が不正です。"},
        {kExtract, u"-1", kHead, u"1", u"抽出文字数が不正です。"},
        {kExtract, u"1 ", kHead, u"1", u"抽出文字数が不正です。"},
        {kDelete, u"1", kPosition, u"", u"位置指定の文字数が不正です。"},
        {kDelete, u"1", kPosition, u"+3", u"位置指定の文字数が不正です。"},
        {kDelete, u"1", kText, u"", std::nullopt},
    };
    for (const Check& c : cases) {
        DeleteExtractPage page;
        page.settings.mode = c.mode;
        page.settings.count = c.count;
        page.settings.where = c.where;
        page.settings.position = c.position;
        RunContext run;
        const auto message = page.validate(run);
        ASSERT_EQ(message.has_value(), c.message.has_value()) << utf8(c.count);
        if (message) {
            EXPECT_EQ(*message, errorMessage(std::u16string(*c.message)));
        }
    }
}

TEST(DeleteExtract, BlockOfEightRecordsByteForByte) {
    DeleteExtractPage page;
    page.settings = {1, u"12", 0, 3, 1, u"7", 1, u"_x"};
    BlockWriter out(50);
    page.saveBlock(out);
    const std::string expected =
        recordBytes(1186, 0, 1, 1) + recordBytes(1060, 0, 1, 12) + recordBytes(1087, 0, 1, 0) +
        recordBytes(1054, 0, 1, 3) + recordBytes(1061, 0, 1, 1) + recordBytes(1063, 0, 1, 7) +
        recordBytes(1238, 1, 2, 50 + 128) + recordBytes(1239, 0, 1, 1) + utf16le(u"_x");
    EXPECT_EQ(out.bytes(), expected);

    const std::string file = std::string(50, '\0') + out.bytes();
    BlockReader in(file, 50, file.size());
    DeleteExtractPage back;
    ASSERT_TRUE(back.loadBlock(in));
    EXPECT_EQ(back.settings.mode, 1);
    EXPECT_EQ(back.settings.count, u"12");
    EXPECT_EQ(back.settings.ignoreExtension, 0);
    EXPECT_EQ(back.settings.where, 3);
    EXPECT_EQ(back.settings.fromTail, 1);
    EXPECT_EQ(back.settings.position, u"7");
    EXPECT_EQ(back.settings.after, 1);
    EXPECT_EQ(back.settings.givenText, u"_x");
}

TEST(DeleteExtract, IniKeysRoundTripAndTheGivenTextIsNotAmongThem) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    DeleteExtractPage page;
    page.settings = {1, u"3", 0, 2, 1, u"4", 1, u"given"};
    page.writeIni(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"),
              "[削除]\r\n方式=1\r\n文字数=3\r\n拡張子=0\r\n削除位置=2\r\n先頭から=1\r\n"
              "指定位置=4\r\n前方=1\r\n");
    DeleteExtractPage back;
    back.readIni(ini);
    EXPECT_EQ(back.settings.count, u"3");
    EXPECT_EQ(back.settings.where, 2);
    EXPECT_EQ(back.settings.givenText, u"@");

    const auto stored = back.storedTexts();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].key, u"指定文字");
    EXPECT_EQ(stored[0].text, &back.settings.givenText);
}

}  // namespace
}  // namespace soramine
