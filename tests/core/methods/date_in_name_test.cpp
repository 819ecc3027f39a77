#include "core/methods/date_in_name.h"

#include <gtest/gtest.h>

#include "core/app/ini_file.h"
#include "core/engine/error_log.h"
#include "core/methods/add_text.h"
#include "core/platform/clock.h"
#include "core/platform/fs.h"
#include "core/settings/records.h"
#include "core/text/utf.h"
#include "support/exif_files.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;
using testing::utf8;

std::int64_t local(int y, int mo, int d, int h, int mi, int s) {
    return platform::fromLocalTime({y, mo, d, h, mi, s})->seconds;
}

TEST(DateInName, Formats) {
    const std::int64_t t = local(2024, 3, 5, 7, 8, 9);
    const struct {
        std::u16string_view format;
        std::u16string_view expected;
    } cases[] = {
        {u"YYYYMMDD_hhmmss", u"20240305_070809"},
        {u"YY-M-D", u"24-3-5"},
        {u"YYYY年M月D日", u"2024年3月5日"},
        {u"Y-Y", u"Y-Y"},  // two Y, but no run of two
        {u"YY", u"24"},
        {u"YYY", u"2024"},
        {u"YYYYYYYYYYYY", u"2024YY"},  // runs of at most ten are replaced
        {u"h時m分s秒", u"7時8分9秒"},
        {u"MM-MM", u"MM-MM"},
        {u"Ymd", u"248d"},
        {u"YYYY年MM月DD日、hh時mm分ss秒", u"2024年03月05日、07時08分09秒"},
        {u"", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8(formatDate(t, c.format)), utf8(c.expected)) << utf8(c.format);
}

TEST(DateInName, SampleLine) {
    EXPECT_EQ(utf8(dateSample(u"YYYY年MM月DD日、hh時mm分ss秒", false)),
              "2010年01月23日、04時56分00秒");
    EXPECT_EQ(utf8(dateSample(u"\\_YY.M.D", false)), "[FN]_10.1.23");
    EXPECT_EQ(utf8(dateSample(u"\\_YY.M.D", true)), "[フォルダ名]_10.1.23");
}

class DateInNameTest : public ::testing::Test {
  protected:
    DateInNameTest() : page_(add_) {}

    // A file (or with `folder` a folder) whose last write is 2024-03-05 07:08:09 local.
    void make(const std::string& name, std::string content = "x", bool folder = false) {
        if (folder)
            dir_.makeFolder(name);
        else
            dir_.write(name, content);
        ASSERT_TRUE(platform::setTimes(dir_.folder() + text::fromUtf8(name), {},
                                       platform::FileTime{local(2024, 3, 5, 7, 8, 9), 0}, {}));
    }
    std::string transform(const std::string& name, bool folderMode = false) {
        run_.env.folderMode = folderMode;
        const std::u16string n = text::fromUtf8(name), f = dir_.folder();
        return utf8(page_.transform(ItemArgs{n, f, 0, 0}, run_));
    }

    TempDir dir_;
    AddTextPage add_;
    DatePage page_;
    RunContext run_;
};

TEST_F(DateInNameTest, NamesFromTheLastWrite) {
    const std::string folderName = utf8(text::folderNameOf(dir_.folder()));
    make("photo.jpg");
    make(".bashrc");
    make("2023.backup", "", true);
    page_.settings.source = 1;
    const struct {
        const char* format;
        const char* name;
        bool folderMode;
        std::string expected;
    } cases[] = {
        {"YYYYMMDD_hhmmss", "photo.jpg", false, "20240305_070809.jpg"},
        {"\\_YYYY", "photo.jpg", false, folderName + "_2024.jpg"},
        {"YYYY", ".bashrc", false, "2024"},
        {"YYYY-MM", "2023.backup", true, "2024-03"},
    };
    for (const auto& c : cases) {
        page_.format.text = text::fromUtf8(c.format);
        EXPECT_EQ(transform(c.name, c.folderMode), c.expected) << c.format;
    }
    EXPECT_EQ(run_.log.text(), u"");
}

TEST_F(DateInNameTest, AddModeInsertsAtTheAddTextPosition) {
    make("photo.jpg");
    page_.settings = {1, 1};
    page_.format.text = u"_YYYY";
    add_.settings = {1, 0, 0, u"1"};  // at the end, before the extension
    EXPECT_TRUE(page_.usesAddText());
    EXPECT_EQ(transform("photo.jpg"), "photo_2024.jpg");
}

TEST_F(DateInNameTest, ShootingDateAndLoggedProblems) {
    const std::string tiff = testing::tiffBlock({true,
                                                 {{0x8769, testing::kExifHere}},
                                                 {{0x9003, testing::kDateHere}},
                                                 "2019:12:31 23:58:57"});
    make("shot.jpg", testing::jpegWithExif(tiff));
    make("plain.png", "\x89PNG\r\n\x1A\n");
    page_.settings.source = 2;
    page_.format.text = u"YYYY-MM-DD hh.mm.ss";
    const std::string path = utf8(dir_.folder());
    const struct {
        const char* name;
        const char* expected;
        std::string logged;
    } cases[] = {
        {"shot.jpg", "2019-12-31 23.58.57.jpg", ""},
        {"plain.png", "plain.png", "Exif情報の撮影日時がありません - " + path + "plain.png\r\n"},
        {"gone.jpg", "gone.jpg", "ファイルが見つかりません - " + path + "gone.jpg\r\n"},
    };
    for (const auto& c : cases) {
        run_.log.clear();
        EXPECT_EQ(transform(c.name), c.expected) << c.name;
        EXPECT_EQ(utf8(run_.log.text()), c.logged) << c.name;
    }
    page_.settings.source = 1;
    run_.log.clear();
    EXPECT_EQ(transform("gone.jpg"), "gone.jpg");
    EXPECT_EQ(utf8(run_.log.text()), "ファイルが見つかりません - " + path + "gone.jpg\r\n");
}

TEST(DateInName, BlockOfThreeOrSevenRecords) {
    for (const int addMode : {0, 1}) {
        AddTextPage add;
        DatePage page(add);
        page.settings = {addMode, 2};
        page.format.text = u"YYMMDD";
        add.settings = {2, 1, 1, u"4"};
        BlockWriter out(40);
        page.saveBlock(out);
        const std::string bytes = out.bytes();
        const std::size_t records = addMode ? 7 : 3;
        ASSERT_EQ(bytes.size(), records * 16 + 12) << addMode;
        EXPECT_EQ(getUint32(bytes, 0), 1126u);
        EXPECT_EQ(getUint32(bytes, 16), 1117u);
        EXPECT_EQ(getUint32(bytes, 32), 1119u);
        EXPECT_EQ(getUint32(bytes, 32 + 4), 1u);
        EXPECT_EQ(getUint32(bytes, 32 + 8), 6u);
        EXPECT_EQ(getUint32(bytes, 32 + 12), 40u + 16 * records);

        const std::string file = std::string(40, '\0') + bytes;
        BlockReader in(file, 40, 40 + 16 * records);
        AddTextPage backAdd;
        DatePage back(backAdd);
        ASSERT_TRUE(back.loadBlock(in));
        EXPECT_EQ(back.settings.addMode, addMode);
        EXPECT_EQ(back.settings.source, 2);
        EXPECT_EQ(back.format.text, u"YYMMDD");
        EXPECT_EQ(backAdd.settings.offset, addMode ? u"4" : u"1");
    }
}

TEST(DateInName, IniKeysRoundTrip) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    AddTextPage add;
    DatePage page(add);
    EXPECT_EQ(page.settings.addMode, 0);
    EXPECT_EQ(page.settings.source, 0);
    page.settings = {1, 2};
    page.writeIni(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"), "[日時]\r\n追加=1\r\n時間=2\r\n");
    DatePage back(add);
    back.readIni(ini);
    EXPECT_EQ(back.settings.addMode, 1);
    EXPECT_EQ(back.settings.source, 2);
}

}  // namespace
}  // namespace soramine
