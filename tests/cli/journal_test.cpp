#include "cli/journal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace soramine::cli {
namespace {

using Entries = std::vector<JournalEntry>;

const std::string kHead = journalHeader({1700000000, 5}, u"/d/");

TEST(CliJournal, PathsWithAnyCharacterComeBack) {
    const Entries entries = {
        {u"/d/a.txt", u"/d/b.txt", true},
        {u"/d/tab\there", u"/d/line\nfeed\r\n", true},
        {u"/d/R 1 2\nx", u"/d/ R 3 4 \n", false},
        {u"/写真/旅行.jpg", u"/写真/2024_旅行.jpg", true},
        {u"/d/\xDC80\xDCFF raw bytes", u"/d/fixed", false},
    };
    std::string bytes = journalHeader({1700000000, 5}, u"/写\n真/");
    for (const auto& e : entries)
        bytes += journalIntent(e.from, e.to) + (e.done ? std::string(kJournalDone) : "");
    const auto parsed = parseJournal(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->started, (platform::FileTime{1700000000, 5}));
    EXPECT_EQ(parsed->folder, u"/写\n真/");
    EXPECT_EQ(parsed->entries, entries);
    EXPECT_EQ(parseJournal(kHead)->entries, Entries{});
}

TEST(CliJournal, TheLastFormTriedForAnItemCounts) {
    const std::string bytes = kHead + journalIntent(u"/d/a", u"/d/x") +
                              journalIntent(u"/d/a", u"/d/x[1]") +
                              journalIntent(u"/d/a", u"/d/x[2]") + std::string(kJournalDone) +
                              journalIntent(u"/d/b", u"/d/x") + journalIntent(u"/d/b", u"/d/x[3]");
    EXPECT_EQ(parseJournal(bytes)->entries,
              (Entries{{u"/d/a", u"/d/x[2]", true}, {u"/d/b", u"/d/x[3]", false}}));
}

TEST(CliJournal, ACutJournalKeepsItsCompleteRecords) {
    const std::string intent1 = journalIntent(u"/d/a", u"/d/b");
    const std::string intent2 = journalIntent(u"/d/c\nd", u"/d/e");
    const std::string bytes = kHead + intent1 + std::string(kJournalDone) + intent2;
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        const auto parsed = parseJournal(std::string_view(bytes).substr(0, cut));
        if (cut < kHead.size()) {
            EXPECT_FALSE(parsed) << cut;
            continue;
        }
        ASSERT_TRUE(parsed) << cut;
        Entries expected;
        if (cut >= kHead.size() + intent1.size())
            expected.push_back({u"/d/a", u"/d/b", cut >= kHead.size() + intent1.size() + 2});
        if (cut == bytes.size())
            expected.push_back({u"/d/c\nd", u"/d/e", false});
        EXPECT_EQ(parsed->entries, expected) << cut;
    }
}

TEST(CliJournal, ReadingStopsAtADamagedRecord) {
    const std::string good = journalIntent(u"/d/a", u"/d/b");
    struct Case {
        std::string tail;  // after one good entry
        const char* what;
    };
    const Case cases[] = {
        {"R 18446744073709551615 2\n/d/x/d/y\n", "length beyond the end"},
        {"R 18446744073709551616 2\n/d/x/d/y\n", "length beyond any number"},
        {"R 4 18446744073709551615\n/d/x/d/y\n", "second length wraps around"},
        {"R 4 4\n/d/x/d/yX", "no line feed after the paths"},
        {"R -4 4\n/d/x/d/y\n", "negative length"},
        {"X 4 4\n/d/x/d/y\n", "unknown kind"},
        {"D", "a cut success mark"},
        {journalIntent(u"/d/x", u"/e/x"), "into another folder"},
        {journalIntent(u"d/x", u"d/y"), "relative paths"},
        {journalIntent(u"/d/", u"/d/y"), "no name"},
        {std::string(40, '\0'), "zeros a crash left"},
    };
    for (const Case& c : cases) {
        const auto parsed = parseJournal(kHead + good + c.tail + good);
        ASSERT_TRUE(parsed) << c.what;
        EXPECT_EQ(parsed->entries, (Entries{{u"/d/a", u"/d/b", false}})) << c.what;
    }
    EXPECT_FALSE(parseJournal("soramine-cli undo journal 1\nR 4 4\n/d/a/d/b\n"));
    EXPECT_FALSE(parseJournal("soramine-cli undo journal 2\nT x\n"));
    EXPECT_EQ(parseJournal(kHead + "D\n" + good)->entries, Entries{})
        << "a success mark before any entry";
    EXPECT_EQ(parseJournal(kHead + good + journalIntent(u"/d/x", u"/d/y"), 1)->entries,
              (Entries{{u"/d/a", u"/d/b", false}}))
        << "reading up to a number of entries";
}

}  // namespace
}  // namespace soramine::cli
