#include "core/methods/numbering.h"

#include <gtest/gtest.h>

#include "core/app/ini_file.h"
#include "core/engine/error_log.h"
#include "core/methods/add_text.h"
#include "core/settings/records.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;
using testing::utf8;

TEST(Numbering, NumberTextOfEachKind) {
    struct Case {
        long long value;
        int kind;
        int digits;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {1, 0, 2, u"001"},
        {-5, 0, 2, u"-005"},
        {1234, 0, 2, u"1234"},
        {0, 1, 0, u"0"},
        {1, 1, 0, u"A"},
        {26, 1, 0, u"Z"},
        {27, 1, 0, u"A0"},
        {28, 1, 0, u"AA"},
        {729, 1, 0, u"A00"},
        {5, 2, 2, u"〇〇五"},
        {120, 2, 2, u"一二〇"},
        {-5, 2, 2, u"-〇〇五"},
        {7, 9, 2, u"000"},
        {3000000000, 0, 0, u"3000000000"},
        {1, 0, 100, u"000000001"},
        {1, 0, -1, u"1"},
        {-9223372036854775807LL - 1, 0, 0, u"-9223372036854775808"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(utf8(numberText(c.value, c.kind, c.digits)), utf8(c.expected)) << c.value;
}

TEST(Numbering, TransformsNames) {
    struct Case {
        std::u16string_view pattern;
        std::u16string_view start;
        std::u16string_view step;
        int k;
        std::u16string_view name;
        std::u16string_view folder;
        bool folderMode;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"Sample_*", u"1", u"1", 0, u"photo.jpg", u"/f/", false, u"Sample_001.jpg"},
        {u"Sample_*", u"1", u"1", 1, u"b.png", u"/f/", false, u"Sample_002.png"},
        {u"trip", u"1", u"1", 0, u"photo.jpg", u"/f/", false, u"trip001.jpg"},
        {u"", u"1", u"1", 0, u"photo.jpg", u"/f/", false, u"001.jpg"},
        {u"*_*", u"1", u"1", 0, u"a", u"/f/", false, u"001_001"},
        {u"*", u"10", u"-5", 0, u"a", u"/f/", false, u"010"},
        {u"*", u"10", u"-5", 1, u"a", u"/f/", false, u"005"},
        {u"*", u"10", u"-5", 2, u"a", u"/f/", false, u"000"},
        {u"*", u"10", u"-5", 3, u"a", u"/f/", false, u"-005"},
        {u"*", u"-", u"1", 0, u"a", u"/f/", false, u"000"},
        {u"*", u"1-2", u"1", 0, u"a", u"/f/", false, u"001"},
        {u"*", u"2147483647", u"1", 1, u"a", u"/f/", false, u"2147483648"},
        {u"\\_*", u"1", u"1", 0, u"a.jpg", u"D:\\trip\\", false, u"trip_001.jpg"},
        {u"\\_*", u"1", u"1", 0, u"a.jpg", u"/home/trip/", false, u"trip_001.jpg"},
        {u"\\_*", u"1", u"1", 0, u"a.jpg", u"/home/a*b/", false, u"a*b_001.jpg"},
        {u"x*", u"1", u"1", 0, u"a.b", u"/f/", true, u"x001"},
        {u"x*", u"1", u"1", 0, u".profile", u"/f/", false, u"x001.profile"},
    };
    for (const Case& c : cases) {
        AddTextPage add;
        NumberingPage page(add);
        page.settings = {0, 0, 2, std::u16string(c.start), std::u16string(c.step)};
        page.pattern.text = c.pattern;
        RunContext run{{c.folderMode, false}};
        EXPECT_EQ(utf8(page.transform({.name = c.name, .folder = c.folder, .k = c.k}, run)),
                  utf8(c.expected))
            << utf8(c.pattern) << " k=" << c.k << " on " << utf8(c.name);
    }
}

TEST(Numbering, AddModeInsertsThePatternWithTheAddTextPositions) {
    AddTextPage add;
    add.settings = {0, 0, 0, u"1"};
    add.addText.text = u"ignored";
    NumberingPage page(add);
    page.settings = {1, 0, 2, u"1", u"1"};
    page.pattern.text = u"*_";
    RunContext run{{false, false}};
    EXPECT_EQ(page.transform({.name = u"photo.jpg", .folder = u"/f/"}, run), u"001_photo.jpg");
    add.settings = {1, 0, 0, u"1"};
    page.pattern.text = u"-\\*";
    EXPECT_EQ(page.transform({.name = u"photo.jpg", .folder = u"/a/trip/", .k = 1}, run),
              u"photo-trip002.jpg");
}

TEST(Numbering, OnlyTheAddModeUsesTheAddTextPage) {
    AddTextPage add;
    NumberingPage page(add);
    page.settings.mode = 0;
    EXPECT_FALSE(page.usesAddText());
    page.settings.mode = 1;
    EXPECT_TRUE(page.usesAddText());
    EXPECT_FALSE(add.usesAddText());
}

TEST(Numbering, SampleLine) {
    struct Case {
        std::u16string_view pattern;
        int kind;
        int digits;
        std::u16string_view start;
        std::u16string_view sample;
        int newDigits;
        std::u16string_view newStart;
        bool message;
    };
    const Case cases[] = {
        {u"\\_*", 0, 2, u"1", u"(FN)_001", 2, u"1", false},
        {u"trip", 0, 2, u"1", u"trip001", 2, u"1", false},
        {u"*", 0, 2, u"0001", u"0001", 3, u"0001", false},
        {u"S*", 0, 2, u"12345", u"S12345", 4, u"12345", false},
        {u"*", 0, 2, u"123456789", u"123456789", 8, u"123456789", false},
        {u"*", 0, 2, u"1234567890", u"123456789", 8, u"12", true},
        {u"*", 1, 0, u"729", u"A00", 2, u"729", false},
        {u"*", 2, 0, u"120", u"一二〇", 2, u"120", false},
        {u"*", 2, 2, u"5", u"〇〇五", 2, u"5", false},
        {u"*", 2, 2, u"-5", u"-〇〇五", 2, u"-5", false},
    };
    for (const Case& c : cases) {
        const NumberingSettings s{0, c.kind, c.digits, std::u16string(c.start), u"1"};
        const NumberingSample r = numberingSample(c.pattern, s, u"12");
        EXPECT_EQ(utf8(r.sample), utf8(c.sample)) << utf8(c.start);
        EXPECT_EQ(r.digits, c.newDigits) << utf8(c.start);
        EXPECT_EQ(utf8(r.start), utf8(c.newStart)) << utf8(c.start);
        EXPECT_EQ(r.message.has_value(), c.message) << utf8(c.start);
        if (r.message) {
            EXPECT_EQ(*r.message, errorMessage(u"桁数が設定範囲以上です"));
        }
    }
}

TEST(Numbering, ValidatesStartAndStep) {
    struct Case {
        std::u16string_view start;
        std::u16string_view step;
        std::optional<std::u16string_view> message;
    };
    const Case cases[] = {
        {u"1", u"1", std::nullopt},
        {u"-", u"-3", std::nullopt},
        {u"1-2", u"1", std::nullopt},
        {u"", u"1", u"開始番号が不正です。"},
        {u"1.5", u"1", u"開始番号が不正です。"},
        {u"1", u"", u"増減値が不正です。"},
        {u"1", u"+1", u"増減値が不正です。"},
    };
    for (const Case& c : cases) {
        AddTextPage add;
        NumberingPage page(add);
        page.settings.start = c.start;
        page.settings.step = c.step;
        RunContext run;
        const auto message = page.validate(run);
        ASSERT_EQ(message.has_value(), c.message.has_value()) << utf8(c.start);
        if (message) {
            EXPECT_EQ(*message, errorMessage(std::u16string(*c.message)));
        }
    }
}

TEST(Numbering, BlockOfSixRecordsWithoutAddMode) {
    AddTextPage add;
    NumberingPage page(add);
    page.settings = {0, 1, 3, u"-5", u"2"};
    page.pattern.text = u"p*";
    BlockWriter out(50);
    page.saveBlock(out);
    const std::string bytes = out.bytes();
    ASSERT_EQ(bytes.size(), 6u * 16 + 4);
    const std::uint32_t ids[] = {1128, 1211, 1032, 1033, 1016, 1134};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(getUint32(bytes, 16 * i), ids[i]);
    EXPECT_EQ(getUint32(bytes, 2 * 16 + 12), 50u + 96);

    // A block of mode 0 followed by other bytes: the add-text positions are not read.
    const std::string file = std::string(50, '\0') + bytes + std::string(64, '\xFF');
    BlockReader in(file, 50, file.size());
    AddTextPage otherAdd;
    NumberingPage back(otherAdd);
    ASSERT_TRUE(back.loadBlock(in));
    EXPECT_EQ(back.settings.start, u"-5");
    EXPECT_EQ(back.settings.digits, 3);
    EXPECT_EQ(back.pattern.text, u"p*");
    EXPECT_EQ(otherAdd.settings.where, 0);
}

TEST(Numbering, AnAddModeBlockLoadsWholeOrNotAtAll) {
    AddTextPage add;
    NumberingPage page(add);
    page.settings = {1, 2, 4, u"7", u"3"};
    page.pattern.text = u"第*";
    add.settings = {2, 1, 1, u"3"};
    BlockWriter out(50);
    page.saveBlock(out);
    const std::string file = std::string(50, '\0') + out.bytes();

    for (const std::size_t records : {6u, 9u, 10u}) {
        BlockReader in(file, 50, 50 + 16 * records);
        AddTextPage backAdd;
        NumberingPage back(backAdd);
        const bool whole = records == 10;
        EXPECT_EQ(back.loadBlock(in), whole) << records;
        EXPECT_EQ(back.settings.mode, whole ? 1 : 0) << records;
        EXPECT_EQ(back.pattern.text, whole ? u"第*" : u"Sample_*") << records;
        EXPECT_EQ(backAdd.settings.offset, whole ? u"3" : u"1") << records;
    }
}

// Written and read against the settings file's own text, so that a wrong key name fails.
TEST(Numbering, IniKeysRoundTrip) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    AddTextPage add;
    NumberingPage page(add);
    page.settings = {1, 2, 5, u"-3", u"10"};
    page.writeIni(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"),
              "[連番]\r\nラジオ=1\r\n文字=2\r\n桁数=5\r\n開始番号=-3\r\n増減値=10\r\n");

    // The same keys in another section must not be read.
    dir.write("ソラミネ.ini",
              "[追加]\r\n文字=1\r\n桁数=8\r\n"
              "[連番]\r\n増減値=-2\r\n開始番号=100\r\n桁数=3\r\n文字=2\r\nラジオ=1\r\n");
    NumberingPage back(add);
    back.readIni(ini);
    EXPECT_EQ(back.settings.mode, 1);
    EXPECT_EQ(back.settings.kind, 2);
    EXPECT_EQ(back.settings.digits, 3);
    EXPECT_EQ(back.settings.start, u"100");
    EXPECT_EQ(back.settings.step, u"-2");
}

}  // namespace
}  // namespace soramine
