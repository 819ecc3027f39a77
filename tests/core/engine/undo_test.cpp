#include "core/engine/undo.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/engine/execute.h"
#include "engine_fixture.h"

namespace soramine {
namespace {

using testing::Names;
using testing::selectRows;
using Files = std::vector<std::string>;

class Undo : public testing::EngineTest {};

TEST_F(Undo, ChainsComeApartInReverseOrder) {
    // b goes to c first, then a takes b's old name: undone in the forward order, c could not
    // go back to b while b (formerly a) still held it.
    addFiles({"b", "a", "e"});
    page.renames = {{u"b", u"c"}, {u"a", u"b"}, {u"e", u"f"}};
    executeRun(session, host, quiet);
    ASSERT_EQ(names(), (Names{u"c", u"b", u"f"}));

    undoLastRun(session, quiet);
    EXPECT_EQ(names(), (Names{u"b", u"a", u"e"}));
    EXPECT_EQ(onDisk(), (Files{"a", "b", "e"}));
    EXPECT_EQ(dir.read("a"), "a");
    EXPECT_EQ(session.log().text(), u"元に戻しました。");
    EXPECT_FALSE(session.canUndo());
    EXPECT_TRUE(session.undoRecord().oldPaths.empty());

    undoLastRun(session, quiet);  // nothing left to undo
    EXPECT_EQ(session.log().text(), u"元に戻しました。");
}

TEST_F(Undo, ACancelWaitsUntilNoItemIsParked) {
    // The run made c → d, a → (temporary), b → a, (temporary) → b. Asked to stop at once, the
    // undo still takes the swap apart completely, and stops before c.
    addFiles({"a", "b", "c"});
    page.renames = {{u"a", u"b"}, {u"b", u"a"}, {u"c", u"d"}};
    session.settings.allowSwaps = 1;
    executeRun(session, host, quiet);
    ASSERT_EQ(session.undoRecord().oldPaths.size(), 4u);
    testing::CancellingObserver stop(1);
    const UndoResult result = undoLastRun(session, stop);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(names(), (Names{u"a", u"b", u"d"}));
    EXPECT_EQ(onDisk(), (Files{"a", "b", "d"}));
    EXPECT_EQ(dir.read("a"), "a");
}

TEST_F(Undo, AnOldNameTakenAgainIsLoggedAndKept) {
    addFiles({"a", "c"});
    page.renames = {{u"a", u"b"}, {u"c", u"d"}};
    executeRun(session, host, quiet);
    dir.write("a", "newcomer");
    undoLastRun(session, quiet);
    EXPECT_EQ(names(), (Names{u"b", u"c"}));
    EXPECT_EQ(dir.read("a"), "newcomer");
    EXPECT_EQ(session.log().text(),
              u"同名ファイルが存在します - " + path(u"a") + u"\r\n元に戻しました。");
}

TEST_F(Undo, ItemsTheRunDidNotRenameAreLeftAlone) {
    // a could not become b, which existed. With a gone by the time of the undo, renaming "b"
    // back to "a" would move the file that blocked the rename, which the run never touched.
    addFiles({"a", "c"});
    dir.write("b", "blocker");
    page.renames = {{u"a", u"b"}, {u"c", u"d"}};
    executeRun(session, host, quiet);
    ASSERT_TRUE(session.canUndo());
    std::filesystem::remove(dir.path() / "a");
    undoLastRun(session, quiet);
    EXPECT_EQ(onDisk(), (Files{"b", "c"}));
    EXPECT_EQ(dir.read("b"), "blocker");
    EXPECT_EQ(session.log().text(), u"元に戻しました。");
}

TEST_F(Undo, MovedItemsKeepTheirNames) {
    addFiles({"a"});
    page.renames = {{u"a", u"b"}};
    executeRun(session, host, quiet);
    std::filesystem::rename(dir.path() / "b", dir.path() / "elsewhere");
    EXPECT_EQ(undoLastRun(session, quiet).failures, 1u);
    EXPECT_EQ(names(), Names{u"b"});
    EXPECT_EQ(session.log().text(),
              u"指定されたファイルが見つかりません。 - " + path(u"b") + u"\r\n元に戻しました。");
}

TEST_F(Undo, AnItemAlreadyBackIsNoFailure) {
    addFiles({"a", "c"});
    page.renames = {{u"a", u"b"}, {u"c", u"d"}};
    executeRun(session, host, quiet);
    std::filesystem::rename(dir.path() / "b", dir.path() / "a");
    EXPECT_EQ(undoLastRun(session, quiet).failures, 0u);
    EXPECT_EQ(names(), (Names{u"a", u"c"}));
    EXPECT_EQ(onDisk(), (Files{"a", "c"}));
    EXPECT_EQ(session.log().text(), u"元に戻しました。");
}

TEST_F(Undo, SelectedRowsMapBackToTheirRows) {
    addFiles({"0", "1", "2", "3"});
    selectRows(session, {1, 3});
    session.settings.selectedOnly = 1;
    page.renames = {{u"1", u"x1"}, {u"3", u"x3"}};
    executeRun(session, host, quiet);
    session.settings.selectedOnly = 0;  // the option now does not matter: the run's does
    undoLastRun(session, quiet);
    EXPECT_EQ(names(), (Names{u"0", u"1", u"2", u"3"}));
    EXPECT_EQ(onDisk(), (Files{"0", "1", "2", "3"}));
}

TEST_F(Undo, CancelledUndoEmptiesTheRecordAllTheSame) {
    addFiles({"0", "1", "2", "3", "4"});
    for (char16_t c = u'0'; c <= u'4'; ++c)
        page.renames[std::u16string(1, c)] = u"n" + std::u16string(1, c);
    executeRun(session, host, quiet);
    testing::CancellingObserver cancelAtSecond(2);
    undoLastRun(session, cancelAtSecond);
    EXPECT_EQ(names(), (Names{u"n0", u"n1", u"n2", u"3", u"4"}));
    EXPECT_EQ(cancelAtSecond.range, 5u);
    EXPECT_FALSE(session.canUndo());
    EXPECT_TRUE(session.undoRecord().oldPaths.empty());
}

}  // namespace
}  // namespace soramine
