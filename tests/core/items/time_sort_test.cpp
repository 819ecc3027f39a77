#include "core/items/time_sort.h"

#include <gtest/gtest.h>

#include "core/platform/clock.h"
#include "core/platform/fs.h"
#include "core/text/utf.h"
#include "support/exif_files.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::utf8;

std::string tiffDated(const std::string& date) {
    return testing::tiffBlock(
        {false, {{0x8769, testing::kExifHere}}, {{0x9003, testing::kDateHere}}, date});
}

// Files named after their rows, each with a modification time and content.
struct FileRow {
    const char* name;
    std::int64_t modified;
    std::string content;
};

class TimeSortTest : public ::testing::Test {
  protected:
    ItemTable tableOf(const std::vector<FileRow>& files) {
        ItemTable t;
        for (const FileRow& f : files) {
            if (f.modified >= 0) {
                dir_.write(f.name, f.content);
                const auto set = platform::setTimes(dir_.folder() + text::fromUtf8(f.name), {},
                                                    platform::FileTime{f.modified, 0}, {});
                EXPECT_TRUE(set);
            }
            t.append(Row{text::fromUtf8(f.name), dir_.folder(), u"c", u"m", u"1"});
        }
        return t;
    }
    static std::string names(const ItemTable& t) {
        std::string out;
        for (std::size_t i = 0; i < t.count(); ++i)
            out += (i ? " " : "") + utf8(t.name(i));
        return out;
    }

    testing::TempDir dir_;
};

TEST_F(TimeSortTest, ModifiedTime) {
    // A file that is gone has key 0: first when oldest first, last when newest first.
    const std::vector<FileRow> files = {
        {"b", 3000, "x"}, {"gone", -1, ""}, {"a", 1000, "x"}, {"c", 2000, "x"}};
    struct {
        bool newest;
        const char* order;
        const char* log;
    } const cases[] = {
        {false, "gone a c b", "更新日時の古い順に並べ替えました"},
        {true, "b c a gone", "更新日時の新しい順に並べ替えました"},
    };
    for (const auto& c : cases) {
        ItemTable t = tableOf(files);
        const auto log = sortByTime(t, SortTime::kModified, c.newest, false);
        EXPECT_EQ(names(t), c.order);
        ASSERT_TRUE(log);
        EXPECT_EQ(utf8(*log), c.log);
        // The other columns move with the names.
        EXPECT_EQ(t.folder(0), dir_.folder());
    }
}

TEST_F(TimeSortTest, ShootingDate) {
    const std::string png = "\x89PNG\r\n\x1A\n";
    ItemTable t =
        tableOf({{"late.jpg", 1, testing::jpegWithExif(tiffDated("2021:01:01 00:00:00"))},
                 {"plain.png", 1, png},
                 {"early.tif", 3, tiffDated("2019:06:01 12:00:00")},
                 {"missing.jpg", -1, ""},
                 {"zero.jpg", 2, testing::jpegWithExif(tiffDated("0000:00:00 00:00:00"))}});
    const auto log = sortByTime(t, SortTime::kShootingDate, true, false);
    ASSERT_TRUE(log);
    EXPECT_EQ(names(t).substr(0, 19), "late.jpg early.tif ");
    EXPECT_EQ(utf8(*log),
              "Exif情報の撮影日時がありません - plain.png\r\n"
              "ファイルを開けません - " +
                  utf8(dir_.folder()) +
                  "missing.jpg\r\n"
                  "Exif情報の撮影日時がありません - zero.jpg\r\n"
                  "Exif情報撮影日時の新しい順に並べ替えました");
}

TEST_F(TimeSortTest, NothingHappens) {
    ItemTable empty;
    EXPECT_FALSE(sortByTime(empty, SortTime::kModified, false, false));
    ItemTable folders = tableOf({{"b", 2, ""}, {"a", 1, ""}});
    EXPECT_FALSE(sortByTime(folders, SortTime::kShootingDate, false, true));
    EXPECT_EQ(names(folders), "b a");
    // The time sorts work on folders.
    EXPECT_TRUE(sortByTime(folders, SortTime::kModified, false, true));
    EXPECT_EQ(names(folders), "a b");
}

// The key quicksort: equal keys may change places, as the scheme dictates.
TEST(ItemTableKeys, QuicksortTable) {
    struct {
        std::vector<std::int64_t> keys;
        bool descending;
        const char* order;
    } const cases[] = {
        {{3, 1, 2}, false, "bca"},
        {{3, 1, 2}, true, "acb"},
        {{-5, 0, 1LL << 40, -(1LL << 40)}, false, "dabc"},
        {{0, 0, 0}, false, "cba"},
        {{7}, false, "a"},
    };
    for (const auto& c : cases) {
        ItemTable t;
        for (std::size_t i = 0; i < c.keys.size(); ++i)
            t.append(Row{std::u16string(1, static_cast<char16_t>(u'a' + i)), u"/", u"", u"", u"",
                         std::u16string(1, static_cast<char16_t>(u'0' + i))});
        t.sortByKeys(c.keys, c.descending);
        std::string got;
        for (std::size_t i = 0; i < t.count(); ++i) {
            got += utf8(t.name(i));
            EXPECT_EQ(t.imageText(i)[0] - u'0', t.name(i)[0] - u'a');
        }
        EXPECT_EQ(got, c.order);
    }
}

}  // namespace
}  // namespace soramine
