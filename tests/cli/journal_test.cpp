#include "cli/journal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace soramine::cli {
namespace {

using Entries = std::vector<JournalEntry>;

std::string journalOf(const Entries& entries) {
    std::string bytes = journalHeader();
    for (const auto& e : entries)
        bytes += journalEntry(e.from, e.to);
    return bytes;
}

TEST(CliJournal, PathsWithAnyCharacterComeBack) {
    const Entries entries = {
        {u"/d/a.txt", u"/d/b.txt"},
        {u"/d/tab\there", u"/d/line\nfeed\r\n"},
        {u"/d/R 1 2\nx", u"/d/ R 3 4 \n"},
        {u"/写真/旅行.jpg", u"/写真/2024_旅行.jpg"},
        {u"/d/\xDC80\xDCFF raw bytes", u"/d/fixed"},
    };
    EXPECT_EQ(parseJournal(journalOf(entries)), entries);
    EXPECT_EQ(parseJournal(journalHeader()), Entries{});
}

TEST(CliJournal, ACutJournalKeepsItsCompleteEntries) {
    const Entries entries = {{u"/d/a", u"/d/b"}, {u"/d/c\nd", u"/d/e"}, {u"/d/f", u"/d/g.txt"}};
    const std::string bytes = journalOf(entries);
    std::vector<std::size_t> ends;
    std::size_t end = journalHeader().size();
    for (const auto& e : entries)
        ends.push_back(end += journalEntry(e.from, e.to).size());
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        const auto parsed = parseJournal(std::string_view(bytes).substr(0, cut));
        if (cut < journalHeader().size()) {
            EXPECT_FALSE(parsed) << cut;
            continue;
        }
        ASSERT_TRUE(parsed) << cut;
        std::size_t complete = 0;
        while (complete < ends.size() && ends[complete] <= cut)
            ++complete;
        EXPECT_EQ(*parsed, Entries(entries.begin(), entries.begin() + complete)) << cut;
    }
}

TEST(CliJournal, ReadingStopsAtADamagedEntry) {
    const std::string good = journalEntry(u"/d/a", u"/d/b");
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
        {journalEntry(u"/d/x", u"/e/x"), "into another folder"},
        {journalEntry(u"d/x", u"d/y"), "relative paths"},
        {journalEntry(u"/d/", u"/d/y"), "no name"},
        {std::string(40, '\0'), "zeros a crash left"},
    };
    for (const Case& c : cases) {
        const auto parsed = parseJournal(journalHeader() + good + c.tail + good);
        ASSERT_TRUE(parsed) << c.what;
        EXPECT_EQ(*parsed, (Entries{{u"/d/a", u"/d/b"}})) << c.what;
    }
    EXPECT_FALSE(parseJournal("soramine-cli undo journal 2\n" + good));
}

TEST(CliJournal, WriterAppendsToAFreshJournal) {
    testing::TempDir dir;
    const std::u16string path = dir.folder() + u"cli-undo.journal";
    dir.write("cli-undo.journal", journalOf({{u"/old/a", u"/old/b"}}));
    JournalWriter writer(path);
    ASSERT_TRUE(writer.start());
    ASSERT_TRUE(writer.add(u"/d/a", u"/d/b"));
    ASSERT_TRUE(writer.add(u"/d/c", u"/d/d"));
    EXPECT_EQ(parseJournal(dir.read("cli-undo.journal")),
              (Entries{{u"/d/a", u"/d/b"}, {u"/d/c", u"/d/d"}}));
    writer.discard();
    EXPECT_FALSE(dir.exists("cli-undo.journal"));
}

}  // namespace
}  // namespace soramine::cli
