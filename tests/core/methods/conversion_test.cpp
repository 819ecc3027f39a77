#include <gtest/gtest.h>

#include <vector>

#include "core/methods/conversion.h"

namespace soramine {
namespace {

TEST(LongestNameLength, MeasuresTheRunsNames) {
    ItemTable table;
    for (auto name : {u"abc.txt", u"abcdef", u"x.longext", u"skipped-row-name"})
        table.append(Row{name, u"/f/"});
    const std::vector<std::size_t> rows = {0, 1, 2};
    const RunItems items{table, rows};
    EXPECT_EQ(longestNameLength(items, false), 9);
    EXPECT_EQ(longestNameLength(items, true), 6);
}

}  // namespace
}  // namespace soramine
