#include "core/engine/journal.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "core/engine/execute.h"
#include "core/engine/undo.h"
#include "engine_fixture.h"

namespace soramine {
namespace {

using Entries = std::vector<JournalEntry>;

const std::string kHead = journalHeader({1700000000, 5}, u"/d/");

TEST(Journal, PathsWithAnyCharacterComeBack) {
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

TEST(Journal, TheLastFormTriedForAnItemCounts) {
    const std::string bytes = kHead + journalIntent(u"/d/a", u"/d/x") +
                              journalIntent(u"/d/a", u"/d/x[1]") +
                              journalIntent(u"/d/a", u"/d/x[2]") + std::string(kJournalDone) +
                              journalIntent(u"/d/b", u"/d/x") + journalIntent(u"/d/b", u"/d/x[3]");
    EXPECT_EQ(parseJournal(bytes)->entries,
              (Entries{{u"/d/a", u"/d/x[2]", true}, {u"/d/b", u"/d/x[3]", false}}));
}

TEST(Journal, ACutJournalKeepsItsCompleteRecords) {
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

TEST(Journal, AnUndoMarksTheEntriesItReversedAfterTheRunsRecords) {
    const std::string a = journalIntent(u"/d/a", u"/d/b") + std::string(kJournalDone);
    struct Case {
        const char* what;
        std::string tail;  // after the entries a and c
        std::vector<bool> undone;
        std::size_t length;  // of the tail read
    };
    const Case cases[] = {
        {"none yet", "", {false, false}, 0},
        {"the last one", "U 1\n", {false, true}, 4},
        {"both, last first", "U 1\nU 0\n", {true, true}, 8},
        {"a cut mark", "U 1\nU", {false, true}, 4},
        {"an entry that is not there", "U 2\nU 0\n", {false, false}, 0},
        {"a run's record after an undo's",
         "U 1\n" + journalIntent(u"/d/x", u"/d/y"),
         {false, true},
         4},
        {"zeros a killed undo left", "U 0\n" + std::string(20, '\0'), {true, false}, 4},
    };
    for (const Case& c : cases) {
        const std::string head = kHead + a + journalIntent(u"/d/c", u"/d/d") + "D\n";
        const auto parsed = parseJournal(head + c.tail);
        ASSERT_TRUE(parsed) << c.what;
        ASSERT_EQ(parsed->entries.size(), 2u) << c.what;
        EXPECT_EQ(parsed->entries[0].undone, c.undone[0]) << c.what;
        EXPECT_EQ(parsed->entries[1].undone, c.undone[1]) << c.what;
        EXPECT_EQ(parsed->length, head.size() + c.length) << c.what;
    }
    EXPECT_EQ(journalUndone(12), "U 12\n");
}

TEST(Journal, ReadingStopsAtADamagedRecord) {
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

// Executions journalled as the front ends do, with the settings folder in a temporary folder.
class JournalledRun : public testing::EngineTest {
  protected:
    JournalledRun() { ::setenv("XDG_CONFIG_HOME", settings.path().c_str(), 1); }
    ~JournalledRun() override { ::unsetenv("XDG_CONFIG_HOME"); }

    // The journal outlives the run, as the window's does: a last flush left to its thread
    // goes on after execute() returns.
    void execute(JournallingObserver::LastFlush lastFlush = JournallingObserver::LastFlush::kWait) {
        ExecutionJob job = startExecution(session, host);
        ASSERT_TRUE(job.plan.runnable());
        ASSERT_FALSE(startJournal(journal, session));
        JournallingObserver observer(journal, quiet, lastFlush);
        executeItems(job, observer);
        EXPECT_FALSE(observer.failed());
        finishExecution(session, std::move(job), host);
        endJournal(journal, session);
    }
    std::size_t journals() const {
        const auto folder = settings.path() / "soramine" / "undo";
        return std::filesystem::exists(folder)
                   ? static_cast<std::size_t>(
                         std::distance(std::filesystem::directory_iterator(folder), {}))
                   : 0;
    }

    testing::TempDir settings;
    JournalWriter journal;
};

TEST_F(JournalledRun, TheUndoButtonGoesThroughTheJournal) {
    using Files = std::vector<std::string>;
    struct Case {
        const char* what;
        std::function<void(const testing::TempDir&)> since;  // done between run and undo
        testing::Names listAfter;
        Files diskAfter;
        std::size_t journalsAfter;
    };
    const Case cases[] = {
        {"untouched", [](const testing::TempDir&) {}, {u"a", u"c"}, {"a", "c"}, 0},
        {"an old name taken again",
         [](const testing::TempDir& d) { d.write("a", "newcomer"); },
         {u"b", u"c"},
         {"a", "b", "c"},
         1},
        {"a new name renamed since",
         [](const testing::TempDir& d) { std::filesystem::rename(d.path() / "d", d.path() / "e"); },
         {u"a", u"d"},
         {"a", "e"},
         1},
    };
    for (const Case& c : cases) {
        testing::clearRows(session);
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            std::filesystem::remove(e.path());
        std::filesystem::remove_all(settings.path() / "soramine");
        addFiles({"a", "c"});
        page.renames = {{u"a", u"b"}, {u"c", u"d"}};
        execute();
        ASSERT_EQ(journals(), 1u) << c.what;
        ASSERT_FALSE(session.undoRecord().journal.empty()) << c.what;
        c.since(dir);
        const UndoResult result = undoLastRun(session, quiet);
        EXPECT_FALSE(result.message) << c.what;
        EXPECT_EQ(names(), c.listAfter) << c.what;
        EXPECT_EQ(onDisk(), c.diskAfter) << c.what;
        EXPECT_EQ(journals(), c.journalsAfter) << c.what << ": what failed stays recorded";
    }
}

TEST_F(JournalledRun, ARunWithSwapsIsUndoneThroughItsJournalRowsIncluded) {
    // a and b swap through a temporary name, c and d rotate with e: each row is followed back
    // through its item's renames to the name it had.
    addFiles({"a", "b", "c", "d", "e"});
    page.renames = {{u"a", u"b"}, {u"b", u"a"}, {u"c", u"d"}, {u"d", u"e"}, {u"e", u"c"}};
    session.settings.allowSwaps = 1;
    execute();
    ASSERT_EQ(names(), (testing::Names{u"b", u"a", u"d", u"e", u"c"}));
    const auto runs = listJournals();
    ASSERT_EQ(runs.size(), 1u);
    const UndoRecord pending = pendingRenames(*readJournal(runs[0].path), session.items());
    EXPECT_EQ(pending.oldPaths.size(), 7u) << "five renames, and one more for each cycle";
    EXPECT_EQ(undoableItems(*readJournal(runs[0].path)), 5u) << "items, not renames";
    EXPECT_EQ(renamedItems(*readJournal(runs[0].path)), 5u) << "items, not renames";

    undoLastRun(session, quiet);
    EXPECT_EQ(names(), (testing::Names{u"a", u"b", u"c", u"d", u"e"}));
    for (auto name : {"a", "b", "c", "d", "e"})
        EXPECT_EQ(dir.read(name), name);
    EXPECT_EQ(journals(), 0u);
}

TEST_F(JournalledRun, AnUndoKilledAfterItsLastRenameIsNotDoneAgain) {
    // The swap's names alone cannot tell a finished undo from a run not yet undone: the marks
    // the undo wrote tell the next undo that nothing is left.
    addFiles({"a", "b", "c"});
    page.renames = {{u"a", u"b"}, {u"b", u"a"}, {u"c", u"d"}};
    session.settings.allowSwaps = 1;
    execute();
    const auto runs = listJournals();
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_TRUE(session.discardUndo());
    {
        // Killed before it could remove the journal.
        UndoJob job = startJournalUndo(session, runs[0].path);
        undoItems(job, quiet);
    }
    ASSERT_EQ(journals(), 1u);
    UndoJob again = startJournalUndo(session, runs[0].path);
    EXPECT_TRUE(again.record.oldPaths.empty());
    undoItems(again, quiet);
    EXPECT_EQ(finishUndo(session, std::move(again)).failures, 0u);
    EXPECT_EQ(onDisk(), (std::vector<std::string>{"a", "b", "c"}));
    for (auto name : {"a", "b", "c"})
        EXPECT_EQ(dir.read(name), name);
    EXPECT_EQ(journals(), 0u);
}

TEST_F(JournalledRun, ARunThatRenamedNothingLeavesNoJournal) {
    addFiles({"a"});
    execute();
    EXPECT_EQ(journals(), 0u);
    EXPECT_TRUE(session.undoRecord().journal.empty());
}

TEST_F(JournalledRun, ALastFlushInTheBackgroundEndsInAClosedWholeJournal) {
    // Two runs one after the other, the second starting while the first's journal may still
    // be flushed, and a run that renamed nothing, whose journal goes.
    const auto background = JournallingObserver::LastFlush::kInBackground;
    addFiles({"a", "c", "e"});
    page.renames = {{u"a", u"b"}, {u"c", u"d"}};
    execute(background);
    page.renames = {{u"e", u"f"}};
    execute(background);
    // Its own thread closes the journal after the last flush: another process lists the run
    // without the window doing anything more.
    for (int tries = 0; listJournals().size() < 2 && tries < 500; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(listJournals().size(), 2u);
    execute(background);
    EXPECT_TRUE(journal.close());
    const auto runs = listJournals();
    ASSERT_EQ(runs.size(), 2u) << "both closed, neither taken for a running one";
    std::vector<std::size_t> counts;
    for (const JournalInfo& run : runs) {
        EXPECT_FALSE(run.unfinished);
        const Journal whole = *readJournal(run.path);
        counts.push_back(whole.entries.size());
        for (const JournalEntry& e : whole.entries)
            EXPECT_TRUE(e.done) << "the last rename's mark too";
    }
    EXPECT_EQ(counts, (std::vector<std::size_t>{1, 2})) << "newest first, every entry there";
}

TEST_F(JournalledRun, ARunIsListedUnderTheFolderThatHoldsItsItems) {
    // The folder box may name any folder when the files came from the command line or a drop.
    struct Case {
        const char* what;
        std::vector<std::string> files;  // relative to dir
        std::string listed;              // relative to dir
    };
    const Case cases[] = {
        {"one folder", {"a", "b"}, ""},
        {"two subfolders", {"sub/a", "subway/b"}, ""},
        {"one subfolder, names sharing a head", {"sub/x/a", "sub/xy/b", "sub/x/c"}, "sub/"},
        {"a single item", {"sub/x/a"}, "sub/x/"},
    };
    for (const Case& c : cases) {
        testing::clearRows(session);
        std::filesystem::remove_all(settings.path() / "soramine");
        session.folderBox.text = u"/";
        page.renames.clear();
        for (const std::string& file : c.files) {
            const auto path = dir.write(file + "-" + c.what, "");
            const std::u16string name = text::fromUtf8(path.filename().string());
            testing::appendRow(
                session, testing::itemRow(name, text::fromUtf8(path.parent_path().string() + "/")));
            page.renames.emplace(name, name + u"-renamed");
        }
        execute();
        const auto runs = listJournals();
        ASSERT_EQ(runs.size(), 1u) << c.what;
        EXPECT_EQ(testing::utf8(runs[0].journal.folder), testing::utf8(dir.folder()) + c.listed)
            << c.what;
    }
}

TEST_F(JournalledRun, AnEarlierRunIsUndoneByItsJournal) {
    addFiles({"a", "c"});
    page.renames = {{u"a", u"b"}, {u"c", u"d"}};
    execute();
    const auto runs = listJournals();
    ASSERT_EQ(runs.size(), 1u);
    ASSERT_TRUE(session.discardUndo());
    {
        UndoJob job = startJournalUndo(session, runs[0].path);
        ASSERT_FALSE(job.message);
        undoItems(job, quiet);
        finishUndo(session, std::move(job));
    }
    EXPECT_EQ(names(), (testing::Names{u"a", u"c"})) << "the rows showing the new names";
    EXPECT_EQ(onDisk(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(journals(), 0u);

    UndoJob gone = startJournalUndo(session, runs[0].path);
    ASSERT_TRUE(gone.message);
    EXPECT_FALSE(finishUndo(session, std::move(gone)).message->text.empty());
    EXPECT_FALSE(session.running());
}

TEST_F(JournalledRun, AKilledRunIsToldFromAFinishedOneUntilSettled) {
    addFiles({"a", "c"});
    page.renames = {{u"a", u"b"}, {u"c", u"d"}};
    execute();
    const auto folder = settings.path() / "soramine" / "undo";
    const std::string finished = std::filesystem::directory_iterator(folder)->path().string();
    // What a kill leaves: the records, then the rest of the space reserved ahead as zeros.
    const std::string killed = (folder / "run-20240101-000000-000001.journal").string();
    std::filesystem::copy_file(finished, killed);
    std::filesystem::resize_file(killed, std::filesystem::file_size(finished) + 4000);
    std::map<std::string, bool> unfinished;
    for (const JournalInfo& run : listJournals())
        unfinished[testing::utf8(run.path)] = run.unfinished;
    EXPECT_EQ(unfinished, (std::map<std::string, bool>{{finished, false}, {killed, true}}));
    EXPECT_EQ(listJournals()[0].method, 0) << "the method named in the journal's name";
    EXPECT_EQ(listJournals()[1].method, -1) << "a name without it";

    settleJournal(text::fromUtf8(killed));
    EXPECT_EQ(std::filesystem::file_size(killed), std::filesystem::file_size(finished));
    for (const JournalInfo& run : listJournals())
        EXPECT_FALSE(run.unfinished) << testing::utf8(run.path);
}

TEST_F(JournalledRun, UndoableEntriesAreThoseWhoseUndoWouldWork) {
    addFiles({"a", "c", "e"});
    page.renames = {{u"a", u"b"}, {u"c", u"d"}, {u"e", u"f"}};
    execute();
    dir.write("c", "taken again");
    std::filesystem::remove(dir.path() / "f");
    const auto journal = readJournal(listJournals()[0].path);
    ASSERT_TRUE(journal);
    EXPECT_EQ(undoableItems(*journal), 1u) << "only b can become a again";
    EXPECT_EQ(renamedItems(*journal), 3u) << "what the run did, whatever the disk holds now";
}

}  // namespace
}  // namespace soramine
