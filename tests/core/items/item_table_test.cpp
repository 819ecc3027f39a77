#include "core/items/item_table.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>

#include "core/text/utf.h"

namespace soramine {
namespace {

ItemTable tableOf(std::initializer_list<std::u16string> names) {
    ItemTable t;
    int i = 0;
    for (const auto& n : names) {
        t.append(Row{n, u"/f/", u"", u"", std::u16string(1, static_cast<char16_t>(u'0' + i++))});
    }
    return t;
}

std::vector<std::u16string> names(const ItemTable& t) {
    std::vector<std::u16string> out;
    for (size_t i = 0; i < t.count(); ++i)
        out.push_back(t.name(i));
    return out;
}

TEST(ItemTable, RowOperationsKeepColumnsTogether) {
    ItemTable t = tableOf({u"a", u"b", u"c"});
    t.insert(1, Row{u"x", u"/g/", u"c", u"m", u"9"});
    t.remove(0);
    ASSERT_EQ(t.count(), 3u);
    EXPECT_EQ(t.row(0), (Row{u"x", u"/g/", u"c", u"m", u"9", u"0"}));
    EXPECT_EQ(t.path(1), u"/f/b");
    EXPECT_EQ(t.size(1), u"1");

    ItemTable more = tableOf({u"d"});
    t.appendTable(std::move(more));
    EXPECT_EQ(names(t), (std::vector<std::u16string>{u"x", u"b", u"c", u"d"}));
    EXPECT_TRUE(more.empty());

    ItemTable empty;
    empty.appendTable(std::move(t));
    EXPECT_EQ(empty.count(), 4u);
    EXPECT_TRUE(t.empty());
    empty.clear();
    EXPECT_TRUE(empty.empty());
}

TEST(ItemTable, TextSortIsOrdinalAndMovesWholeRows) {
    ItemTable t = tableOf({u"b", u"B", u"a", u"ä", u"A10", u"A9"});
    t.sort(ItemTable::kName, ItemTable::compareText, false);
    EXPECT_EQ(names(t), (std::vector<std::u16string>{u"A10", u"A9", u"B", u"a", u"b", u"ä"}));
    EXPECT_EQ(t.size(0), u"4");  // the size column travelled with its row
    t.sort(ItemTable::kName, ItemTable::compareText, true);
    EXPECT_EQ(names(t), (std::vector<std::u16string>{u"ä", u"b", u"a", u"B", u"A9", u"A10"}));
}

TEST(ItemTable, SizeColumnSortsNumericallyLargestFirst) {
    ItemTable t;
    for (auto s : {u"999", u"1,000", u"-", u"12"})
        t.append(Row{s, u"/", u"", u"", s});
    t.sort(ItemTable::kSize, ItemTable::compareNumber, false);
    EXPECT_EQ(names(t), (std::vector<std::u16string>{u"1,000", u"999", u"12", u"-"}));
    t.sort(ItemTable::kSize, ItemTable::compareNumber, true);
    EXPECT_EQ(names(t), (std::vector<std::u16string>{u"-", u"12", u"999", u"1,000"}));
}

// The same scheme run directly on the rows, as a reference for the permutation sort.
template <class Key>
void referenceSort(std::vector<std::pair<Key, int>>& v, int lo, int hi, int sign) {
    if (hi <= lo)
        return;
    int i = lo, j = hi;
    const Key pivot = v[(lo + hi) / 2].first;
    auto cmp = [&](const Key& a) { return sign * (a < pivot ? -1 : a > pivot ? 1 : 0); };
    while (i <= j) {
        while (i < hi && cmp(v[i].first) < 0)
            ++i;
        while (j > lo && cmp(v[j].first) > 0)
            --j;
        if (i <= j)
            std::swap(v[i++], v[j--]);
    }
    if (lo < j)
        referenceSort(v, lo, j, sign);
    if (i < hi)
        referenceSort(v, i, hi, sign);
}

// Names that share a long prefix, hold unit 0 (which must not pass for a missing unit), high
// units, and end within or just past the first units after the shared prefix: the text sort
// gives the code-unit order, and equal names keep the scheme's order of their rows.
TEST(ItemTable, TextSortFollowsTheSchemeForAnyUnits) {
    std::mt19937 random(11);
    const char16_t units[] = {u'\0', u'a', u'b', u'\xD800', u'\xFFFF'};
    for (bool descending : {false, true}) {
        for (int round = 0; round < 200; ++round) {
            const size_t n = 1 + random() % 40;
            const std::u16string prefix = round % 2 ? u"IMG_" : u"";
            std::vector<std::pair<std::u16string, int>> expected;
            ItemTable t;
            for (size_t i = 0; i < n; ++i) {
                std::u16string name = prefix;
                for (size_t k = random() % 7; k > 0; --k)
                    name += units[random() % std::size(units)];
                expected.emplace_back(name, static_cast<int>(i));
                t.append(Row{name, std::u16string(1, static_cast<char16_t>(u'A' + i))});
            }
            referenceSort(expected, 0, static_cast<int>(n) - 1, descending ? -1 : 1);
            t.sort(ItemTable::kName, ItemTable::compareText, descending);
            for (size_t i = 0; i < n; ++i) {
                ASSERT_EQ(t.name(i), expected[i].first);
                ASSERT_EQ(t.folder(i),
                          std::u16string(1, static_cast<char16_t>(u'A' + expected[i].second)));
            }
        }
    }
}

// Keys that make the quicksort's pivot, the row at (lo + hi) / 2, the smallest (or largest)
// of its range at every step, so that each partition splits off a single row: a sort that
// recursed into both sides would nest once per row.
std::vector<std::int64_t> middlePivotKiller(std::int64_t n, bool largestFirst) {
    std::vector<std::size_t> at(static_cast<std::size_t>(n));  // the input row at each place
    std::iota(at.begin(), at.end(), std::size_t{0});
    std::vector<std::int64_t> keys(at.size());
    for (std::int64_t lo = 0, hi = n - 1; lo <= hi;) {
        const auto mid = static_cast<std::size_t>((lo + hi) / 2);
        // The pivot goes to the end of the range that it splits off; the other rows stay.
        if (largestFirst) {
            keys[at[mid]] = hi;
            std::swap(at[mid], at[static_cast<std::size_t>(hi--)]);
        } else {
            keys[at[mid]] = lo;
            std::swap(at[mid], at[static_cast<std::size_t>(lo++)]);
        }
    }
    return keys;
}

// Runs `work` on a thread with a small stack, where recursion as deep as the row count
// overflows at once instead of passing on a large main stack.
template <class Work>
void onSmallStack(Work& work) {
    pthread_attr_t attr;
    ASSERT_EQ(pthread_attr_init(&attr), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attr, 64 * 1024), 0);
    pthread_t thread;
    auto run = [](void* w) -> void* {
        (*static_cast<Work*>(w))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attr, run, &work), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
}

TEST(ItemTable, SortsWorstCaseInputsWithoutDeepRecursion) {
    constexpr std::int64_t kRows = 3000;
    std::vector<std::int64_t> descendingRun(kRows);
    for (std::int64_t i = 0; i < kRows; ++i)
        descendingRun[static_cast<std::size_t>(i)] = kRows - i;
    std::vector<std::int64_t> negatedKiller = middlePivotKiller(kRows, false);
    for (auto& k : negatedKiller)
        k = -k;
    // The size column's numbers as keys: its "descending" puts the smallest first.
    struct Case {
        const char* label;
        std::vector<std::int64_t> keys;
        bool smallestFirst;
    };
    const Case cases[] = {
        {"descending run", descendingRun, true},
        {"smallest pivot first", middlePivotKiller(kRows, false), true},
        {"largest pivot first", middlePivotKiller(kRows, true), true},
        {"smallest pivot first, largest first", negatedKiller, false},
    };
    for (const Case& c : cases) {
        ItemTable t;
        for (std::int64_t k : c.keys) {
            const std::u16string number = text::fromUtf8(std::to_string(k));
            t.append(Row{number, u"/", u"", u"", number});
        }
        auto sort = [&] { t.sort(ItemTable::kSize, ItemTable::compareNumber, c.smallestFirst); };
        onSmallStack(sort);
        std::vector<std::int64_t> sorted;
        for (std::size_t i = 0; i < t.count(); ++i) {
            sorted.push_back(std::stoll(text::toUtf8(t.size(i))));
            ASSERT_EQ(t.name(i), t.size(i)) << c.label << " row " << i;  // rows move whole
        }
        if (c.smallestFirst)
            EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end())) << c.label;
        else
            EXPECT_TRUE(std::is_sorted(sorted.rbegin(), sorted.rend())) << c.label;
    }
}

TEST(ItemTable, RangeSortLeavesTheOtherRowsInPlace) {
    ItemTable t = tableOf({u"z", u"d", u"b", u"c", u"a", u"y"});
    t.sort(ItemTable::kName, ItemTable::compareText, false, 1, 4);
    EXPECT_EQ(names(t), (std::vector<std::u16string>{u"z", u"a", u"b", u"c", u"d", u"y"}));
    for (size_t i = 0; i < t.count(); ++i)  // sizes numbered by the original position
        EXPECT_EQ(t.size(i), (std::u16string(1, u"042315"[i])));
}

TEST(ItemTable, RemoveRowsKeepsTheRestInOrder) {
    struct Case {
        std::vector<size_t> rows;
        std::vector<std::u16string> left;
    } cases[] = {
        {{}, {u"a", u"b", u"c", u"d"}},
        {{0}, {u"b", u"c", u"d"}},
        {{1, 3}, {u"a", u"c"}},
        {{0, 1, 2, 3}, {}},
    };
    for (const auto& c : cases) {
        ItemTable t = tableOf({u"a", u"b", u"c", u"d"});
        t.removeRows(c.rows);
        EXPECT_EQ(names(t), c.left);
        if (!t.empty()) {
            EXPECT_EQ(t.folder(t.count() - 1), u"/f/");
        }
    }
}

TEST(ItemTable, MoveRowsPutsThemTogetherBeforeTheMark) {
    struct Case {
        std::vector<size_t> rows;
        size_t at;
        std::vector<std::u16string> order;
        std::vector<size_t> moved;
    } cases[] = {
        {{3}, 0, {u"d", u"a", u"b", u"c", u"e"}, {0}},        // up to the top
        {{0}, 5, {u"b", u"c", u"d", u"e", u"a"}, {4}},        // below the last row
        {{0, 2}, 4, {u"b", u"d", u"a", u"c", u"e"}, {2, 3}},  // down, gaps closed
        {{1, 4}, 1, {u"a", u"b", u"e", u"c", u"d"}, {1, 2}},  // onto the first moved row
        {{3, 4}, 1, {u"a", u"d", u"e", u"b", u"c"}, {1, 2}},  // block up
        {{0, 1, 2, 3, 4}, 2, {u"a", u"b", u"c", u"d", u"e"}, {0, 1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        ItemTable t = tableOf({u"a", u"b", u"c", u"d", u"e"});
        EXPECT_EQ(t.moveRows(c.rows, c.at), c.moved);
        EXPECT_EQ(names(t), c.order);
        // Sizes were numbered by the original position: they travel with their rows.
        for (size_t i = 0; i < t.count(); ++i)
            EXPECT_EQ(t.size(i)[0] - u'0', t.name(i)[0] - u'a');
    }
}

}  // namespace
}  // namespace soramine
