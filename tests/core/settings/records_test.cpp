#include "core/settings/records.h"

#include <gtest/gtest.h>

#include <array>

namespace soramine {
namespace {

std::string le32(std::uint32_t v) {
    std::string out;
    appendUint32(out, v);
    return out;
}

std::string record(std::uint32_t id, std::uint32_t kind, std::uint32_t count, std::uint32_t value) {
    return le32(id) + le32(kind) + le32(count) + le32(value);
}

TEST(Records, BlockHoldsRecordsThenTextsAtAbsoluteOffsets) {
    BlockWriter out(50);
    out.number(1033, -5);
    out.text(1035, u"");
    out.text(1036, u"aあ");
    out.dateTime(1200, 0x1'2345'6789LL);
    EXPECT_EQ(out.recordCount(), 4u);

    // The empty text points where it would start; the next one starts at the same place.
    const std::string expected = record(1033, 0, 1, 0xFFFFFFFB) + record(1035, 1, 0, 114) +
                                 record(1036, 1, 2, 114) + record(1200, 2, 1, 0x23456789) +
                                 std::string("a\0\x42\x30", 4);
    EXPECT_EQ(out.bytes(), expected);
}

TEST(Records, ReadBackWhatWasWritten) {
    BlockWriter out(50);
    out.number(1033, -5);
    out.text(1035, u"");
    out.text(1036, u"置換");
    const std::string file = std::string(50, '\0') + out.bytes();

    BlockReader in(file, 50, file.size());
    const auto records = in.records(3);
    ASSERT_TRUE(records);
    EXPECT_EQ((*records)[0].number(), -5);
    EXPECT_EQ(in.text((*records)[1]), u"");
    EXPECT_EQ(in.text((*records)[2]), u"置換");
    EXPECT_EQ(in.position(), 50u + 48u);
}

TEST(Records, ReadsNothingOutsideTheFile) {
    const std::string file = std::string(16, 'x') + record(1, 1, 2, 0) + "abcd";  // 36 bytes
    struct Case {
        const char* what;
        Record r;
        bool ok;
    };
    const Case cases[] = {
        {"text at the very end", {1, 1, 2, 32}, true},
        {"empty text at the end", {1, 1, 0, 36}, true},
        {"one unit past the end", {1, 1, 3, 32}, false},
        {"offset past the end", {1, 1, 0, 37}, false},
        {"offset near 2^32", {1, 1, 1, 0xFFFFFFFF}, false},
        {"length near 2^32", {1, 1, 0xFFFFFFFF, 2}, false},
        {"both near 2^32", {1, 1, 0x80000000, 0x80000000}, false},
    };
    BlockReader in(file, 16, file.size());
    for (const Case& c : cases)
        EXPECT_EQ(in.text(c.r).has_value(), c.ok) << c.what;

    EXPECT_FALSE(BlockReader(file, 16, file.size()).records(2)) << "second record truncated";
    EXPECT_FALSE(BlockReader(file, 40, file.size()).records(1)) << "block starts past the end";
    EXPECT_FALSE(BlockReader(file, 16, 31).records(1)) << "records end before the record";
    EXPECT_TRUE(BlockReader(file, 16, 9999).records(1)) << "records end clamped to the file";
    EXPECT_FALSE(BlockReader(file, 16, file.size()).records(SIZE_MAX / 8)) << "count overflows";
}

// A page with every kind of row: a number, a history box's text, a decimal text kept as its
// integer value and a plain text.
struct SampleSettings {
    std::int32_t mode = 1;
    std::u16string start = u"1";
    std::u16string position = u"1";
};
struct SamplePage {
    SampleSettings settings;
    HistoryBox box{u"s", u"p", u"", {}, u"old"};
};
constexpr auto kSampleRecords = std::to_array<RecordField<SamplePage>>({
    {1049, &SampleSettings::mode},
    {1035, &SamplePage::box},
    {1033, &SampleSettings::start, Record::kNumber},
    {1051, &SampleSettings::position},
});

TEST(Records, ATableSavesOneRecordPerRowAndLoadsItBack) {
    SamplePage page;
    page.settings = {-2, u"12abc", u"7"};
    page.box.text = u"検";
    BlockWriter out(50);
    saveRecords(kSampleRecords, page, out);
    const std::string expected = record(1049, 0, 1, 0xFFFFFFFE) + record(1035, 1, 1, 114) +
                                 record(1033, 0, 1, 12) + record(1051, 1, 1, 116) +
                                 std::string(
                                     "\x1C\x69"
                                     "7\0",
                                     4);
    ASSERT_EQ(out.bytes(), expected);

    const std::string file = std::string(50, '\0') + expected + record(1049, 0, 1, 99);
    BlockReader in(file, 50, file.size());
    SamplePage back;
    ASSERT_TRUE(loadRecords(kSampleRecords, back, in));
    EXPECT_EQ(back.settings.mode, -2);
    EXPECT_EQ(back.box.text, u"検");
    EXPECT_EQ(back.settings.start, u"12");
    EXPECT_EQ(back.settings.position, u"7");
    EXPECT_EQ(in.position(), 50u + 64) << "one record per row, the next block left alone";
}

TEST(Records, ATableLoadsRecordsByIdOrNotAtAll) {
    // Records at 16, the texts "x" and "y" at 80 and 82 (after four records).
    struct Case {
        const char* what;
        std::vector<std::string> records;
        bool ok;
        SampleSettings settings;  // expected when ok
        std::u16string_view box;
    };
    const Case cases[] = {
        {"another order",
         {record(1051, 1, 1, 82), record(1033, 0, 1, 0xFFFFFFFB), record(1035, 1, 0, 80),
          record(1049, 0, 1, 3)},
         true,
         {3, u"-5", u"y"},
         u""},
        {"unknown ids are skipped, even a text outside the file",
         {record(9999, 1, 100, 4096), record(1035, 1, 1, 80), record(7, 0, 1, 5),
          record(1049, 0, 1, 0)},
         true,
         {0, u"1", u"1"},
         u"x"},
        {"a row takes its record whatever kind the record claims",
         {record(1049, 1, 1, 80), record(1051, 0, 1, 82), record(1035, 1, 1, 82),
          record(1033, 1, 1, 4)},
         true,
         {80, u"4", u"y"},
         u"y"},
        {"a box text outside the file",
         {record(1049, 0, 1, 3), record(1035, 1, 2, 82), record(1033, 0, 1, 5),
          record(1051, 1, 1, 80)},
         false},
        {"a settings text past 2^32",
         {record(1049, 0, 1, 3), record(1035, 1, 1, 80), record(1051, 1, 0x80000000, 0x80000000),
          record(1033, 0, 1, 5)},
         false},
        {"fewer records than rows", {record(1049, 0, 1, 3), record(1035, 1, 1, 80)}, false},
    };
    for (const Case& c : cases) {
        std::string file(16, 'h');
        for (const std::string& r : c.records)
            file += r;
        const std::size_t recordsEnd = file.size();
        file.resize(80, 'h');
        file += std::string("x\0y\0", 4);

        BlockReader in(file, 16, recordsEnd);
        SamplePage page;
        ASSERT_EQ(loadRecords(kSampleRecords, page, in), c.ok) << c.what;
        const SampleSettings expected = c.ok ? c.settings : SampleSettings{};
        EXPECT_EQ(page.settings.mode, expected.mode) << c.what;
        EXPECT_EQ(page.settings.start, expected.start) << c.what;
        EXPECT_EQ(page.settings.position, expected.position) << c.what;
        EXPECT_EQ(page.box.text, c.ok ? c.box : u"old") << c.what;
    }
}

}  // namespace
}  // namespace soramine
