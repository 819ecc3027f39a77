#include "core/settings/records.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace soramine
