#include "core/methods/split_reorder.h"

#include <gtest/gtest.h>

#include "core/engine/error_log.h"
#include "core/methods/method_list.h"
#include "core/settings/records.h"
#include "core/settings/settings_file.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;
using testing::utf8;

TEST(SplitReorder, RearrangesTheBlocksOfTheStem) {
    struct Case {
        std::u16string_view split, order, name;
        bool folderMode;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"4-2-2", u"3-2-1", u"20240131.jpg", false, u"31012024.jpg"},
        {u"3-*", u"2-<_>1", u"IMG_0001.png", false, u"_0001_IMG.png"},
        {u"3-3", u"1", u"abcdefgh.txt", false, u"abc.txt"},
        {u"1", u"1<x>", u"ab.txt", false, u"ax.txt"},
        {u"1-1-1", u"3<x>-1", u"abc", false, u"cxa"},
        {u"1-1", u"<a>1-<b>2", u"xy", false, u"axby"},
        {u"2-*", u"2-1", u"ab.c.d", false, u".cab.d"},
        {u"*-2", u"2-1", u"abcd", false, u"cdab"},
        {u"*", u"1", u"abc.txt", false, u"abc.txt"},
        {u"3a-1", u"2-1", u"abcd", false, u"dabc"},
        {u"2", u"1", u".profile", false, u".p"},
        {u"2-*", u"2-1", u"ab.cd", true, u".cdab"},
        {u"1-1-1", u"0-2-1", u"abc", false, u"ba"},      // 0 without added texts adds nothing
        {u"1-1-1", u"<x>2-0-1", u"abc", false, u"xba"},  // a second 0 has no text left
        {u"1", u"1<>", u"ab", false, u"a"},              // an empty added text
        {u"1", u"1<a<b>", u"ab", false, u"aa<b"},        // the first ">" after the first "<"
        {u"1-1", u"2-1", u"ab", false, u"ba"},
        {u"2-2", u"2-1", u"abcd.", false, u"cdab."},
    };
    for (const Case& c : cases) {
        SplitReorderPage page;
        page.split.text = c.split;
        page.order.text = c.order;
        RunContext run;
        run.env.folderMode = c.folderMode;
        ASSERT_EQ(page.validate(run), std::nullopt) << utf8(c.split) << " " << utf8(c.order);
        EXPECT_EQ(utf8(page.transform({.name = c.name}, run)), utf8(c.expected))
            << utf8(c.split) << " " << utf8(c.order) << " on " << utf8(c.name);
        EXPECT_EQ(run.log.text(), u"");
    }
}

TEST(SplitReorder, ANameShorterThanTheBlocksIsLoggedAndKept) {
    struct Case {
        std::u16string_view split, name;
    };
    const Case cases[] = {
        {u"5-5", u"abc.txt"},
        {u"3-*", u"ab"},
        {u"2147483647-2147483647-2147483647-2147483647-2147483647", u"abc"},
        {u"99999999999999999999", u"abc"},
    };
    for (const Case& c : cases) {
        SplitReorderPage page;
        page.split.text = c.split;
        page.order.text = u"1";
        RunContext run;
        ASSERT_EQ(page.validate(run), std::nullopt) << utf8(c.split);
        EXPECT_EQ(page.transform({.name = c.name}, run), c.name);
        EXPECT_EQ(run.log.text(),
                  u"ファイル名を区切れません - " + std::u16string(c.name) + u"\r\n");
    }
}

TEST(SplitReorder, InvalidTextsAreRefused) {
    struct Case {
        std::u16string_view split, order;
    };
    const Case cases[] = {
        {u"2-*-*", u"1"},                // two rest blocks
        {u"1-2-3-4-5-6", u"1"},          // six blocks
        {u"3--2", u"1"},                 // empty piece
        {u"0-2", u"1"},                  // zero length
        {u"a", u"1"},                    // no digits
        {u"", u"1"},                     // empty split
        {u"3-", u"1"},                   // trailing separator
        {u"1-1", u"1-1"},                // a block twice without added texts
        {u"1-1-1", u"4"},                // no block 4
        {u"1", u"1-<x>"},                // becomes 1-0- : empty last piece
        {u"1", u"<x>"},                  // becomes 0- : empty last piece
        {u"1", u"1<x"},                  // "<" without ">"
        {u"1", u"<a>1<b><c><d><e><f>"},  // a sixth added text
        {u"1-1", u"1-2-1"},              // more entries than blocks
        {u"1", u"1a"},                   // a character that is no entry
        {u"1", u"1 "},                   // neither is a space
        {u"1", u""},                     // no entry
        {u"1-1", u"1--2"},               // empty entry
        {u"1", u"99999999999"},          // a huge block number
        {u"1", u"0-0"},                  // 0 twice without added texts
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseSplitReorder(c.split, c.order), std::nullopt)
            << utf8(c.split) << " " << utf8(c.order);
        SplitReorderPage page;
        page.split.text = c.split;
        page.order.text = c.order;
        RunContext run;
        EXPECT_EQ(page.validate(run), errorMessage(u"設定が不正です")) << utf8(c.split);
    }
}

TEST(SplitReorder, AddedTextsBecomeZeroEntries) {
    struct Case {
        std::u16string_view order;
        std::vector<int> entries;
        std::vector<std::u16string> texts;
    };
    const Case cases[] = {
        {u"2-<_>1", {2, 0, 1}, {u"_"}},
        {u"3<x>-1", {3, 0, 1}, {u"x"}},
        {u"1<x>", {1, 0}, {u"x"}},
        {u"<a>1<b>", {0, 1, 0}, {u"a", u"b"}},
        {u"<a>1-<b>2", {0, 1, 0, 2}, {u"a", u"b"}},
        {u"1-1<->", {1, 1, 0}, {u"-"}},
        {u"01", {1}, {}},
    };
    for (const Case& c : cases) {
        const auto plan = parseSplitReorder(u"1-1-1", c.order);
        ASSERT_TRUE(plan) << utf8(c.order);
        EXPECT_EQ(plan->order, c.entries) << utf8(c.order);
        EXPECT_EQ(plan->addedTexts, c.texts) << utf8(c.order);
    }
    const auto rest = parseSplitReorder(u"3a-*-7", u"1");
    ASSERT_TRUE(rest);
    EXPECT_EQ(rest->lengths, (std::vector<std::int64_t>{3, SplitPlan::kRest, 7}));
}

TEST(SplitReorder, BlockOfTwoTextRecords) {
    SplitReorderPage page;
    page.split.text = u"4-*";
    page.order.text = u"2<区>1";
    BlockWriter out(50);
    page.saveBlock(out);
    std::string expected;
    for (std::uint32_t v : {1188u, 1u, 3u, 50u + 32, 1189u, 1u, 5u, 50u + 32 + 6})
        appendUint32(expected, v);
    expected += std::string(
        "4\0-\0*\0"
        "2\0<\0\x3a\x53>\0"
        "1\0",
        16);
    EXPECT_EQ(out.bytes(), expected);

    const std::string file = std::string(50, '\0') + out.bytes();
    BlockReader in(file, 50, 50 + 32);
    SplitReorderPage back;
    ASSERT_TRUE(back.loadBlock(in));
    EXPECT_EQ(back.split.text, u"4-*");
    EXPECT_EQ(back.order.text, u"2<区>1");
}

TEST(SplitReorder, SavedAndLoadedThroughTheSettingsFile) {
    TempDir dir;
    const std::u16string path = dir.folder() + u"並べ替え.qrn";
    MethodTable source = makeMethodTable();
    auto* page = dynamic_cast<SplitReorderPage*>(source.page(11));
    ASSERT_NE(page, nullptr);
    page->split.text = u"";
    page->order.text = u"3-<_>1";
    MainSettings options = defaultMainSettings();
    options.methodIndex = 11;
    ASSERT_EQ(saveSettingsFile(path, options, u"/f/", u"*", *page), std::nullopt);

    MethodTable target = makeMethodTable();
    ASSERT_TRUE(loadSettingsFile(path, target.size(), [&](int i) { return target.page(i); }));
    auto* back = dynamic_cast<SplitReorderPage*>(target.page(11));
    EXPECT_EQ(back->split.text, u"");
    EXPECT_EQ(back->order.text, u"3-<_>1");
}

}  // namespace
}  // namespace soramine
