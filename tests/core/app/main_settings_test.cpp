#include "core/app/main_settings.h"

#include <gtest/gtest.h>

#include "core/app/detail_settings.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;
using testing::utf8;

TEST(MainSettings, MissingFileGivesTheDefaults) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    const MainSettings m = readMainSettings(ini);
    EXPECT_EQ(m.methodIndex, 0);
    EXPECT_EQ(m.importMode, 0);
    EXPECT_EQ(m.selectedOnly + m.autoAvoid + m.subfolders + m.backup + m.folderMode +
                  m.folderCreation + m.moveAfter + m.copyAfter,
              0);
    EXPECT_EQ(utf8(m.destination), "/");
    EXPECT_EQ(utf8(m.folderCreationParent), "/");
    const DetailSettings d = readDetailSettings(ini);
    EXPECT_EQ(d.importReadOnly, 1);
    EXPECT_EQ(d.toolTips, 1);
    EXPECT_EQ(d.historyLimit, 10);
    EXPECT_EQ(utf8(d.fontName), "ＭＳ ゴシック");
    EXPECT_EQ(d.showCreatedColumn + d.showModifiedColumn + d.showSizeColumn + d.showLog, 0);
}

// Files written by earlier versions rely on the two date keys being crossed.
TEST(DetailSettings, DateColumnKeysAreCrossed) {
    TempDir dir;
    dir.write("ソラミネ.ini", "[詳細設定]\r\n更新日時=1\r\n作成日時=0\r\n");
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    DetailSettings d = readDetailSettings(ini);
    EXPECT_EQ(d.showCreatedColumn, 1);
    EXPECT_EQ(d.showModifiedColumn, 0);
}

TEST(MainSettings, ObsoleteWindowKeysAreDeleted) {
    TempDir dir;
    dir.write("ソラミネ.ini",
              "[ウインドウ]\r\nLEFT=10\r\nWindowSize=AAAA\r\nTOP=20\r\n[メイン]\r\nLEFT=1\r\n");
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    deleteObsoleteWindowKeys(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"),
              "[ウインドウ]\r\nWindowSize=AAAA\r\n[メイン]\r\nLEFT=1\r\n");
}

}  // namespace
}  // namespace soramine
