#include "core/methods/add_text.h"

#include <gtest/gtest.h>

#include "core/app/ini_file.h"
#include "core/engine/error_log.h"
#include "core/settings/records.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;
using testing::utf8;

TEST(AddText, InsertsWhereThePositionSettingsSay) {
    struct Case {
        AddTextSettings settings;
        std::u16string_view text;  // passed by another method; empty: the page's own "add"
        std::u16string_view name;
        std::u16string_view folder;
        bool folderMode;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {{0, 0, 0, u"1"}, u"new_", u"photo.jpg", u"/f/", false, u"new_photo.jpg"},
        {{0, 0, 0, u"1"}, u"", u"photo.jpg", u"/f/", false, u"addphoto.jpg"},
        {{1, 0, 0, u"1"}, u"_v2", u"photo.jpg", u"/f/", false, u"photo_v2.jpg"},
        {{1, 0, 0, u"1"}, u"_v2", u"archive.tar.gz", u"/f/", false, u"archive.tar_v2.gz"},
        {{1, 0, 0, u"1"}, u"_v2", u"README", u"/f/", false, u"README_v2"},
        {{1, 0, 0, u"1"}, u"_v2", u".profile", u"/f/", false, u"_v2.profile"},
        {{1, 0, 0, u"1"}, u"_v2", u"a.b", u"/f/", true, u"a.b_v2"},
        {{1, 1, 0, u"1"}, u"_v2", u"photo.jpg", u"/f/", false, u"photo.jpg_v2"},
        {{2, 0, 0, u"2"}, u"X", u"abcdef.txt", u"/f/", false, u"abXcdef.txt"},
        {{2, 0, 0, u"0"}, u"X", u"abcdef.txt", u"/f/", false, u"Xabcdef.txt"},
        {{2, 0, 0, u"99"}, u"X", u"abcdef.txt", u"/f/", false, u"abcdef.txtX"},
        {{2, 0, 1, u"4"}, u"X", u"abcdef.txt", u"/f/", false, u"abcdefX.txt"},
        {{2, 0, 1, u"0"}, u"X", u"abcdef.txt", u"/f/", false, u"abcdef.txtX"},
        {{2, 0, 1, u"10"}, u"X", u"abcdef.txt", u"/f/", false, u"Xabcdef.txt"},
        {{0, 0, 0, u"1"}, u"\\-", u"song.mp3", u"E:\\music\\", false, u"music-song.mp3"},
        {{0, 0, 0, u"1"}, u"\\-", u"song.mp3", u"/home/music/", false, u"music-song.mp3"},
        {{0, 0, 0, u"1"}, u"\\-", u"song.mp3", u"", false, u"-song.mp3"},
        {{0, 0, 0, u"1"}, u"x", u"a\\b", u"/home/music/", false, u"xa\\b"},
    };
    for (const Case& c : cases) {
        AddTextPage page;
        page.settings = c.settings;
        RunContext run{{c.folderMode, false}};
        EXPECT_EQ(utf8(page.insert(c.name, c.text, c.folder, run)), utf8(c.expected))
            << utf8(c.text) << " into " << utf8(c.name);
        EXPECT_EQ(run.log.text(), u"");
    }
}

TEST(AddText, TheMethodAddsThePageTextAndLogsAPositionBeforeTheHead) {
    AddTextPage page;
    page.settings = {2, 0, 1, u"11"};
    page.addText.text = u"X";
    RunContext run{{false, false}};
    EXPECT_EQ(page.transform({.name = u"abcdef.txt", .folder = u"/f/"}, run), u"abcdef.txt");
    EXPECT_EQ(run.log.text(), u"追加位置が不正です - abcdef.txt\r\n");
    page.settings.offset = u"10";
    EXPECT_EQ(page.transform({.name = u"abcdef.txt", .folder = u"/f/"}, run), u"Xabcdef.txt");
}

TEST(AddText, ValidatesThePositionOnlyWhenItIsUsed) {
    const std::pair<AddTextSettings, bool> cases[] = {
        {{2, 0, 0, u"0"}, true},   {{2, 0, 1, u"12"}, true},  {{2, 0, 0, u""}, false},
        {{2, 0, 0, u"1a"}, false}, {{2, 0, 0, u"-1"}, false}, {{0, 0, 0, u""}, true},
        {{1, 0, 0, u"1a"}, true},
    };
    for (const auto& [settings, ok] : cases) {
        AddTextPage page;
        page.settings = settings;
        RunContext run;
        const auto message = page.validate(run);
        EXPECT_EQ(!message, ok) << utf8(settings.offset);
        if (message) {
            EXPECT_EQ(*message, errorMessage(u"位置指定の文字数が不正です。"));
        }
    }
}

TEST(AddText, BlockHoldsTheTextThenThePositions) {
    AddTextPage page;
    page.settings = {2, 1, 1, u"3"};
    page.addText.text = u"追";
    BlockWriter out(50);
    page.saveBlock(out);
    const std::string bytes = out.bytes();
    ASSERT_EQ(bytes.size(), 5u * 16 + 2);
    const std::uint32_t ids[] = {1037, 1038, 1039, 1029, 1040};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(getUint32(bytes, 16 * i), ids[i]);
    EXPECT_EQ(getUint32(bytes, 12), 50u + 80) << "text offset";
    EXPECT_EQ(getUint32(bytes, 4 * 16 + 12), 3u) << "文字目 as a number";

    const std::string file = std::string(50, '\0') + bytes;
    BlockReader in(file, 50, file.size());
    AddTextPage back;
    ASSERT_TRUE(back.loadBlock(in));
    EXPECT_EQ(back.addText.text, u"追");
    EXPECT_EQ(back.settings.where, 2);
    EXPECT_EQ(back.settings.afterExtension, 1);
    EXPECT_EQ(back.settings.fromTail, 1);
    EXPECT_EQ(back.settings.offset, u"3");
}

// Written and read against the settings file's own text, so that a wrong key name fails.
TEST(AddText, IniKeysRoundTrip) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    AddTextPage page;
    page.settings = {2, 0, 1, u"5"};
    page.writeIni(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"),
              "[追加]\r\n追加位置=2\r\n拡張子の=0\r\n先頭から=1\r\n文字目=5\r\n");

    // The same keys in another section must not be read.
    dir.write("ソラミネ.ini",
              "[置換]\r\n追加位置=0\r\n文字目=9\r\n"
              "[追加]\r\n文字目=3\r\n先頭から=1\r\n拡張子の=1\r\n追加位置=1\r\n");
    AddTextPage back;
    back.readIni(ini);
    EXPECT_EQ(back.settings.where, 1);
    EXPECT_EQ(back.settings.afterExtension, 1);
    EXPECT_EQ(back.settings.fromTail, 1);
    EXPECT_EQ(back.settings.offset, u"3");
}

}  // namespace
}  // namespace soramine
