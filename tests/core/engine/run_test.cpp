#include "core/engine/run.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "core/engine/execute.h"
#include "core/engine/preview.h"
#include "core/engine/undo.h"
#include "engine_fixture.h"

namespace soramine {
namespace {

using testing::appendRow;
using testing::clearRows;
using testing::itemRow;
using testing::Names;
using testing::selectRows;
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

class RunRowsTest : public testing::EngineTest {};

TEST_F(RunRowsTest, SelectedRowsInListOrder) {
    addFiles({"0", "1", "2", "3", "4"});
    selectRows(session, {3, 1, 9});
    EXPECT_EQ(runRows(session, true), (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(runRows(session, false), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
}

TEST_F(RunRowsTest, ChangesOfTheListOrTheSelectionDiscardTheUndoRecord) {
    addFiles({"a"});
    page.renames = {{u"a", u"b"}};
    executeRun(session, host, quiet);
    ASSERT_TRUE(session.canUndo());
    selectRows(session, {0});
    EXPECT_FALSE(session.canUndo());
    EXPECT_TRUE(session.undoRecord().oldPaths.empty());

    page.renames = {{u"b", u"c"}};
    executeRun(session, host, quiet);
    ASSERT_TRUE(session.canUndo());
    clearRows(session);
    EXPECT_FALSE(session.canUndo());
}

// Changes a list from inside the observer, as a window handling events during a run might.
class MeddlingObserver final : public RunObserver {
  public:
    explicit MeddlingObserver(RenameSession& session) : session_(session) {}
    void begin(std::size_t) override {}
    void step() override {
        refused += !session_.changeItems([](ItemTable& t) { t.clear(); });
        refused += !session_.setSelection({0});
        refused += !session_.discardUndo();
    }
    bool cancelled() override { return false; }
    void advance(std::size_t) override {}
    void end() override {}
    int refused = 0;

  private:
    RenameSession& session_;
};

class RunGuard : public testing::EngineTest {};

TEST_F(RunGuard, ChangesDuringARunAreRefusedAndTheRunStaysWhole) {
    addFiles({"a", "b", "c"});
    page.renames = {{u"a", u"x"}, {u"b", u"y"}, {u"c", u"z"}};
    MeddlingObserver meddler(session);
    const ExecuteResult result = executeRun(session, host, meddler);
    EXPECT_GT(meddler.refused, 0);
    EXPECT_EQ(meddler.refused % 3, 0) << "every kind of change is refused";
    EXPECT_EQ(result.processed, 3);
    EXPECT_EQ(result.changedRows, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(names(), (Names{u"x", u"y", u"z"}));
    EXPECT_EQ(session.undoRecord().oldPaths.size(), 3u);
    EXPECT_TRUE(session.canUndo());
    EXPECT_FALSE(session.running());

    // The same for a preview and an undo; afterwards changes go through again.
    meddler.refused = 0;
    page.renames = {{u"x", u"p"}};
    EXPECT_EQ(previewRun(session, host, meddler).previewNew[0], u"p");
    const UndoResult undone = undoLastRun(session, meddler);
    EXPECT_EQ(undone.changedRows, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(names(), (Names{u"a", u"b", u"c"}));
    EXPECT_GT(meddler.refused, 0);
    EXPECT_TRUE(session.setSelection({1}));
}

TEST_F(RunGuard, TheItemLoopRunsOnAWorkerThreadWhileTheWindowTriesChanges) {
    std::vector<std::string> files;
    for (int i = 0; i < 300; ++i)
        files.push_back("f" + std::to_string(i));
    for (const auto& f : files) {
        dir.write(f, f);
        appendRow(session, itemRow(text::fromUtf8(f), dir.folder()));
        page.renames[text::fromUtf8(f)] = text::fromUtf8("g" + f.substr(1));
    }
    ExecutionJob job = startExecution(session, host);
    ASSERT_TRUE(job.plan.runnable());
    std::thread worker([&] { executeItems(job, quiet); });
    int refused = 0;
    for (int i = 0; i < 200; ++i) {
        refused += !session.changeItems([](ItemTable& t) { t.clear(); });
        (void)session.items().name(i % 300);  // the window repaints meanwhile
    }
    worker.join();
    EXPECT_EQ(refused, 200);
    EXPECT_TRUE(session.running()) << "until the run is finished on the caller's thread";
    const ExecuteResult result = finishExecution(session, std::move(job), host);
    EXPECT_FALSE(session.running());
    EXPECT_EQ(result.processed, 300);
    EXPECT_EQ(session.items().name(299), u"g299");
    EXPECT_TRUE(session.canUndo());
}

TEST_F(RunGuard, AGivenUpRunReleasesTheSession) {
    addFiles({"a"});
    { PreviewJob job = startPreview(session, host); }
    EXPECT_FALSE(session.running());
    EXPECT_TRUE(session.setSelection({0}));
}

TEST(NameNumbers, RemembersTakenFormsAndFreedNames) {
    NameNumbers numbers;
    const std::u16string f = u"/d/";
    EXPECT_EQ(numbers.firstForm(f, u"x.txt"), 0);
    numbers.takenBelow(f, u"x.txt", 3);
    numbers.takenBelow(f, u"x.txt", 2);  // never goes back by itself
    EXPECT_EQ(numbers.firstForm(f, u"x.txt"), 3);
    EXPECT_EQ(numbers.firstForm(u"/e/", u"x.txt"), 0) << "per folder";
    struct Case {
        std::u16string_view freed;
        int first;  // of x.txt afterwards
    };
    const Case cases[] = {
        {u"x[5].txt", 3}, {u"x[x].txt", 3}, {u"x[01].txt", 3}, {u"y[1].txt", 3},
        {u"x[]", 3},      {u"x[2].txt", 2}, {u"x[1].txt", 1},  {u"x.txt", 0},
    };
    for (const Case& c : cases) {
        numbers.freed(f, c.freed);
        EXPECT_EQ(numbers.firstForm(f, u"x.txt"), c.first) << utf8(c.freed);
    }
    numbers.takenBelow(f, u"README", 4);
    numbers.freed(f, u"README[2]");
    EXPECT_EQ(numbers.firstForm(f, u"README"), 2);
}

}  // namespace
}  // namespace soramine
