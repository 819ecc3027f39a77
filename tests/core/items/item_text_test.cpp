#include "core/items/item_text.h"

#include "core/items/file_information.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "core/platform/clock.h"

namespace soramine {
namespace {

class ItemText : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        saved_ = tz ? tz : "";
        hadTz_ = tz != nullptr;
        setenv("TZ", "Asia/Tokyo", 1);
        tzset();
    }
    void TearDown() override {
        if (hadTz_) {
            setenv("TZ", saved_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    std::string saved_;
    bool hadTz_ = false;
};

TEST_F(ItemText, DateTextIsLocalTimeWithFixedWidthFields) {
    // 2006-03-23 15:00:00 UTC is midnight in Tokyo.
    EXPECT_EQ(dateText(platform::FileTime{1143126000, 0}), u"2006年03月24日、00:00:00\n");
    EXPECT_EQ(dateText(platform::FileTime{1143126000 + 3 * 3600 + 4 * 60 + 5, 999}),
              u"2006年03月24日、03:04:05\n");
    EXPECT_EQ(dateText(std::nullopt), u"");
}

TEST_F(ItemText, NeighbouringTimesConvertAlikeThroughTheCache) {
    for (std::int64_t t = 1700000000 - 2000; t < 1700000000 + 2000; t += 7) {
        time_t raw = static_cast<time_t>(t);
        struct tm expected;
        localtime_r(&raw, &expected);
        auto got = platform::toLocalTime(platform::FileTime{t, 0});
        ASSERT_TRUE(got);
        ASSERT_EQ(got->hour, expected.tm_hour);
        ASSERT_EQ(got->minute, expected.tm_min);
        ASSERT_EQ(got->second, expected.tm_sec);
    }
}

TEST_F(ItemText, FileInformationLinesInTheirOwnTexts) {
    platform::EntryInfo entry;
    entry.size = 1234567;
    entry.created = platform::FileTime{1143126000, 0};
    entry.modified = platform::FileTime{1143126000 + 3661, 0};
    entry.accessed = platform::FileTime{1143126000 + 86399, 0};
    EXPECT_EQ(fileInformationText(entry),
              u" ﾌｧｲﾙｻｲｽﾞ\t1,234,567ﾊﾞｲﾄ\n --------------------------------------\n"
              u" 作成日時\t2006年03月24日、00:00:00\n"
              u" 更新日時\t2006年03月24日、01:01:01\n"
              u" ｱｸｾｽ日時\t2006年03月24日、23:59:59\n");
    entry.created.reset();  // no birth time on this file system: the line stays a line
    EXPECT_NE(fileInformationText(entry).find(u" 作成日時\t\n 更新日時"), std::u16string::npos);
}

TEST_F(ItemText, SizeTextGroupsThousands) {
    struct Case {
        std::uint64_t bytes;
        std::u16string text;
    } cases[] = {{0, u"0"},
                 {999, u"999"},
                 {1000, u"1,000"},
                 {1234567, u"1,234,567"},
                 {18446744073709551615ull, u"18,446,744,073,709,551,615"}};
    for (const auto& c : cases)
        EXPECT_EQ(sizeText(c.bytes), c.text) << c.bytes;
}

}  // namespace
}  // namespace soramine
