#include "core/engine/run.h"

#include <gtest/gtest.h>

#include "core/engine/execute.h"
#include "engine_fixture.h"

namespace soramine {
namespace {

using testing::itemRow;
using testing::utf8;

TEST(TrimNewName, RemovesSpacesThenFullStops) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u" .name. ", u"name"},     {u".bashrc", u"bashrc"},    {u"name.txt", u"name.txt"},
        {u" . a . ", u" a "},       {u"a. .", u"a. "},          {u"...", u""},
        {u"\tname\t", u"\tname\t"}, {u"　name　", u"　name　"}, {u"", u""},
    };
    for (auto [in, out] : cases)
        EXPECT_EQ(trimNewName(in), out) << utf8(in);
}

TEST(NumberedName, PutsTheCounterBeforeTheLastFullStop) {
    struct Case {
        std::u16string_view name;
        int n;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"photo.tar.gz", 1, u"photo.tar[1].gz"},
        {u"photo.tar.gz", 2, u"photo.tar[2].gz"},
        {u"README", 1, u"README[1]"},
        {u"x.txt", 12, u"x[12].txt"},
        {u"a.", 1, u"a[1]."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(numberedName(c.name, c.n), c.expected) << utf8(c.name);
}

TEST(UnsafeNameReason, RefusesPathsAndNamesOfFolders) {
    const std::pair<std::u16string_view, bool> cases[] = {
        {u"a/b", true},   {u"../x", true},  {u"..", true},
        {u".", true},     {u"", true},      {std::u16string_view(u"a\0b", 3), true},
        {u"a\\b", false}, {u"...x", false}, {u"名前.txt", false},
    };
    for (auto [name, refused] : cases)
        EXPECT_EQ(unsafeNameReason(name).has_value(), refused) << utf8(name);
}

TEST(ParseTagFormat, SplitsTagsAndSeparators) {
    struct Case {
        std::u16string_view format;
        std::array<std::u16string_view, 5> separators;
        std::array<int, 5> order;
    };
    const Case cases[] = {
        {u"$A - $T", {u"", u" - ", u"", u"", u""}, {1, 2, -1, -1, -1}},
        {u"[$N]$T", {u"[", u"]", u"", u"", u""}, {-1, 3, 2, -1, -1}},
        {u"$L_$A_$T_$N", {u"", u"_", u"_", u"_", u""}, {0, 1, 2, 3, -1}},
        {u"$X$A", {u"$X", u"", u"", u"", u""}, {-1, 1, -1, -1, -1}},
        {u"$a-$A", {u"$a-", u"", u"", u"", u""}, {-1, 1, -1, -1, -1}},
        // The fifth tag after leading text finds no slot: parsing stops.
        {u"x$L-$A-$T-$N-$L", {u"x", u"-", u"-", u"-", u""}, {-1, 0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        auto parsed = parseTagFormat(c.format);
        ASSERT_TRUE(parsed.ok()) << utf8(c.format);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(parsed->tagSeparators[i], c.separators[i]) << utf8(c.format) << " " << i;
            EXPECT_EQ(parsed->tagOrder[i], c.order[i]) << utf8(c.format) << " " << i;
        }
    }
}

TEST(ParseTagFormat, RefusesWithItsMessages) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"$N$T", u"設定の形式が不正です(区切り無し)"},
        {u"$A-$A", u"設定の形式が不正です(同じ項目)\r\n"},
        {u"artist - title", u"設定の形式が不正です(項目無し)"},
        {u"", u"設定の形式が不正です(項目無し)"},
    };
    for (auto [format, text] : cases) {
        auto parsed = parseTagFormat(format);
        ASSERT_FALSE(parsed.ok()) << utf8(format);
        EXPECT_EQ(parsed.error(), errorMessage(std::u16string(text)));
    }
}

TEST(LongestNameLength, MeasuresTheRunsNames) {
    ItemTable table;
    for (auto name : {u"abc.txt", u"abcdef", u"x.longext", u"skipped-row-name"})
        table.append(itemRow(name, u"/f/"));
    const std::vector<std::size_t> rows = {0, 1, 2};
    const RunItems items{table, rows};
    EXPECT_EQ(longestNameLength(items, false), 9);
    EXPECT_EQ(longestNameLength(items, true), 6);
}

class RunRowsTest : public testing::EngineTest {};

TEST_F(RunRowsTest, SelectedRowsInListOrder) {
    addFiles({"0", "1", "2", "3", "4"});
    session.setSelection({3, 1, 9});
    EXPECT_EQ(runRows(session, true), (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(runRows(session, false), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
}

TEST_F(RunRowsTest, ChangesOfTheListOrTheSelectionDiscardTheUndoRecord) {
    addFiles({"a"});
    page.renames = {{u"a", u"b"}};
    executeRun(session, host, quiet);
    ASSERT_TRUE(session.canUndo());
    session.setSelection({0});
    EXPECT_FALSE(session.canUndo());
    EXPECT_TRUE(session.undoRecord().undoOldPaths.empty());

    page.renames = {{u"b", u"c"}};
    executeRun(session, host, quiet);
    ASSERT_TRUE(session.canUndo());
    session.changeItems();
    EXPECT_FALSE(session.canUndo());
}

}  // namespace
}  // namespace soramine
