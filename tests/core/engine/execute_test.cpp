#include "core/engine/execute.h"
#include "core/engine/preview.h"
#include "core/engine/transfer.h"
#include "core/engine/undo.h"
#include "core/platform/fs.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "core/text/forbidden_chars.h"
#include "core/text/strings.h"
#include "engine_fixture.h"

namespace soramine {
namespace {

using testing::appendRow;
using testing::clearRows;
using testing::itemRow;
using testing::Names;
using testing::selectRows;
using Files = std::vector<std::string>;

std::u16string existsText() {
    return platform::systemErrorText(platform::OsError{EEXIST});
}

class Execute : public testing::EngineTest {};

TEST_F(Execute, RenamesInListOrderAgainstWhatIsOnDisk) {
    struct Case {
        const char* what;
        std::map<std::u16string, std::u16string> renames;
        bool autoAvoid;
        Names names;
        Files disk;
        int processed;
        std::u16string log;  // "$" stands for the folder
    };
    const Case cases[] = {
        {"chain: b still exists when a comes first",
         {{u"a", u"b"}, {u"b", u"c"}},
         false,
         {u"a", u"c"},
         {"a", "c"},
         1,
         existsText() + u" - $b\r\n"},
        {"chain avoided",
         {{u"a", u"b"}, {u"b", u"c"}},
         true,
         {u"b[1]", u"c"},
         {"b[1]", "c"},
         2,
         u""},
        {"two items to one name",
         {{u"a", u"x.txt"}, {u"b", u"x.txt"}},
         false,
         {u"x.txt", u"b"},
         {"b", "x.txt"},
         1,
         existsText() + u" - $x.txt\r\n"},
        {"two items to one name, avoided",
         {{u"a", u"x.txt"}, {u"b", u"x.txt"}},
         true,
         {u"x.txt", u"x[1].txt"},
         {"x.txt", "x[1].txt"},
         2,
         u""},
        {"trimmed and case only",
         {{u"a", u" A. "}, {u"b", u"b "}},
         true,
         {u"A", u"b"},
         {"A", "b"},
         1,
         u""},
        {"paths and folder names refused",
         {{u"a", u"../a"}, {u"b", u".."}},
         true,
         {u"a", u"b"},
         {"a", "b"},
         0,
         u"ファイル名に使えない文字が含まれています - $/a\r\n"
         u"ファイル名がありません - $\r\n"},
        {"NUL refused",
         {{u"a", std::u16string(u"x\0y", 3)}},
         true,
         {u"a", u"b"},
         {"a", "b"},
         0,
         u"ファイル名に使えない文字が含まれています - $x\u2400y\r\n"},
    };
    for (const Case& c : cases) {
        testing::TempDir folder;
        clearRows(session);
        for (auto name : {"a", "b"}) {
            folder.write(name);
            appendRow(session, itemRow(text::fromUtf8(name), folder.folder()));
        }
        page.renames = c.renames;
        session.settings.autoAvoid = c.autoAvoid;
        const ExecuteResult result = executeRun(session, host, quiet);

        std::u16string log = c.log;
        text::replaceAll(log, u"$", folder.folder());
        EXPECT_EQ(names(), c.names) << c.what;
        Files disk;
        for (const auto& e : std::filesystem::directory_iterator(folder.path()))
            disk.push_back(e.path().filename().string());
        std::sort(disk.begin(), disk.end());
        EXPECT_EQ(disk, c.disk) << c.what;
        EXPECT_EQ(result.processed, c.processed) << c.what;
        EXPECT_EQ(session.log().text(), log) << c.what;
        EXPECT_EQ(session.canUndo(), c.processed != 0) << c.what;
    }
}

// With swaps allowed, preview and execution agree, contents follow their names, and the
// undo gives every file its name back.
TEST_F(Execute, WithSwapsItemsTakeEachOthersNames) {
    using Contents = std::map<std::string, std::string>;  // name on disk -> content
    struct Case {
        const char* what;
        std::map<std::u16string, std::u16string> renames;
        bool autoAvoid;
        Names preview;
        Contents disk;
        int processed;
    };
    const std::u16string same = u"同名ファイルが存在します";
    const Case cases[] = {
        {"swap",
         {{u"a", u"b"}, {u"b", u"a"}},
         false,
         {u"b", u"a", u"変更無し", u"変更無し"},
         {{"a", "b"}, {"b", "a"}, {"c", "c"}, {"z", "z"}},
         2},
        {"rotation of three",
         {{u"a", u"b"}, {u"b", u"c"}, {u"c", u"a"}},
         false,
         {u"b", u"c", u"a", u"変更無し"},
         {{"a", "c"}, {"b", "a"}, {"c", "b"}, {"z", "z"}},
         3},
        {"shift into a free name",
         {{u"a", u"b"}, {u"b", u"c"}, {u"c", u"d"}},
         false,
         {u"b", u"c", u"d", u"変更無し"},
         {{"b", "a"}, {"c", "b"}, {"d", "c"}, {"z", "z"}},
         3},
        {"shift onto a name outside the run",
         {{u"b", u"c"}, {u"c", u"z"}},
         true,
         {u"変更無し", u"c", u"z[1]", u"変更無し"},
         {{"a", "a"}, {"c", "b"}, {"z", "z"}, {"z[1]", "c"}},
         2},
        {"one name for two: the first gets it",
         {{u"a", u"x"}, {u"b", u"x"}, {u"c", u"a"}},
         true,
         {u"x", u"x[1]", u"a", u"変更無し"},
         {{"a", "c"}, {"x", "a"}, {"x[1]", "b"}, {"z", "z"}},
         3},
        {"one name for two, avoidance off",
         {{u"a", u"x"}, {u"b", u"x"}},
         false,
         {u"x", same, u"変更無し", u"変更無し"},
         {{"b", "b"}, {"c", "c"}, {"x", "a"}, {"z", "z"}},
         1},
        {"a swap and a refused name",
         {{u"a", u"b"}, {u"b", u"a"}, {u"c", u"../c"}},
         false,
         {u"b", u"a", u"ファイル名に使えない文字が含まれています", u"変更無し"},
         {{"a", "b"}, {"b", "a"}, {"c", "c"}, {"z", "z"}},
         2},
    };
    for (const Case& c : cases) {
        testing::TempDir folder;
        clearRows(session);
        for (auto name : {"a", "b", "c", "z"}) {
            folder.write(name, name);
            appendRow(session, itemRow(text::fromUtf8(name), folder.folder()));
        }
        const auto contents = [&] {
            Contents out;
            for (const auto& e : std::filesystem::directory_iterator(folder.path()))
                out[e.path().filename().string()] = folder.read(e.path().filename().string());
            return out;
        };
        page.renames = c.renames;
        session.settings.autoAvoid = c.autoAvoid;
        session.settings.allowSwaps = 1;
        EXPECT_EQ(previewRun(session, host, quiet).previewNew, c.preview) << c.what;

        const ExecuteResult result = executeRun(session, host, quiet);
        EXPECT_EQ(contents(), c.disk) << c.what;
        EXPECT_EQ(result.processed, c.processed) << c.what;
        Names shown;
        for (const auto& [name, content] : c.disk)
            shown.push_back(text::fromUtf8(name));
        Names listed = names();
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(listed, shown) << c.what << ": the rows show the names on disk";

        undoLastRun(session, quiet);
        EXPECT_EQ(contents(), (Contents{{"a", "a"}, {"b", "b"}, {"c", "c"}, {"z", "z"}})) << c.what;
        EXPECT_EQ(names(), (Names{u"a", u"b", u"c", u"z"})) << c.what;
    }
}

// Stops when asked, but only between renames that leave no item under a temporary name.
class StopAfterRenames final : public RunObserver {
  public:
    explicit StopAfterRenames(std::size_t renames) : after_(renames) {}
    void begin(std::size_t) override {}
    void step() override {}
    bool cancelled() override { return renames_ >= after_; }
    void advance(std::size_t) override {}
    void end() override {}
    void renamed(std::size_t, std::u16string_view, std::u16string_view) override { ++renames_; }

  private:
    std::size_t after_;
    std::size_t renames_ = 0;
};

TEST_F(Execute, WithSwapsACancelWaitsForTheParkedItem) {
    // c → d comes first, then the swap; asked to stop as soon as a is parked, the run
    // finishes the swap and leaves e (which comes last) alone.
    addFiles({"a", "b", "c", "e"});
    page.renames = {{u"a", u"b"}, {u"b", u"a"}, {u"c", u"d"}, {u"e", u"d"}};
    session.settings.autoAvoid = 1;
    session.settings.allowSwaps = 1;
    StopAfterRenames stop(2);
    const ExecuteResult result = executeRun(session, host, stop);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(names(), (Names{u"b", u"a", u"d", u"e"}));
    EXPECT_EQ(onDisk(), (Files{"a", "b", "d", "e"}));
    EXPECT_EQ(dir.read("b"), "a");
}

TEST_F(Execute, NumberedNamesStopAt254Units) {
    const std::string taken(252, 'x');
    addFiles({"a"});
    dir.write(taken);
    page.renames = {{u"a", text::fromUtf8(taken)}};
    session.settings.autoAvoid = 1;
    executeRun(session, host, quiet);
    EXPECT_EQ(names(), Names{u"a"});
    EXPECT_EQ(session.log().text(),
              u"ファイル名変更エラー - " + path(text::fromUtf8(taken)) + u"\r\n");
}

// A name longer in bytes than the file system holds is that item's problem; the items around
// it are renamed.
TEST_F(Execute, ANameTooLongForTheDiskIsRefusedBeforeItsRename) {
    const std::u16string tooLong(100, u'漢');
    addFiles({"a", "b", "c"});
    page.renames = {{u"a", tooLong}, {u"b", u"b2"}, {u"c", std::u16string(85, u'字')}};
    const auto result = executeRun(session, host, quiet);
    EXPECT_EQ(names(), (Names{u"a", u"b2", std::u16string(85, u'字')}));
    EXPECT_EQ(result.processed, 2);
    EXPECT_EQ(result.failures, 1u);
    EXPECT_EQ(session.log().text(),
              u"ファイル名が長すぎます(300 / 255 バイト) - " + path(tooLong) + u"\r\n");
}

TEST_F(Execute, RecordsTheRunForUndo) {
    addFiles({"a", "b", "c"});
    page.renames = {{u"a", u"a "}, {u"b", u"x"}, {u"c", u"x"}};
    testing::CancellingObserver observer(0);
    executeRun(session, host, observer);
    EXPECT_EQ(observer.renames.size(), 1u);
    EXPECT_EQ(observer.renames.at(0), std::make_tuple(std::size_t{1}, path(u"b"), path(u"x")));
    const UndoRecord& undo = session.undoRecord();
    EXPECT_EQ(undo.oldPaths, (Names{path(u"a"), path(u"b"), path(u"c")}));
    EXPECT_EQ(undo.newPaths, (Names{path(u"a "), path(u"x"), path(u"x")}));
    EXPECT_EQ(undo.renamed, (std::vector<bool>{false, true, false}));
    EXPECT_TRUE(undo.enabled);
}

TEST_F(Execute, ReportsTheResult) {
    struct Case {
        int showLog;
        bool failure;
        bool shown;
        std::u16string line;
    };
    const Case cases[] = {
        {0, false, false, u""},
        {1, false, true, u"実行結果　(2 / 2) 処理しました。"},
        {0, true, true, u"実行結果　(1 / 2) 処理しました。"},
    };
    for (const Case& c : cases) {
        testing::TempDir folder;
        clearRows(session);
        for (auto name : {"a", "b"}) {
            folder.write(name);
            appendRow(session, itemRow(text::fromUtf8(name), folder.folder()));
        }
        if (c.failure)
            folder.write("y");
        page.renames = {{u"a", u"x"}, {u"b", u"y"}};
        session.detail.showLog = c.showLog;
        const ExecuteResult result = executeRun(session, host, quiet);
        EXPECT_FALSE(result.message);
        EXPECT_EQ(result.showResult, c.shown);
        EXPECT_EQ(result.resultLine, c.line);
    }
}

TEST_F(Execute, FailedValidationShowsWhatThePageLogged) {
    addFiles({"a"});
    page.renames = {{u"a", u"b"}};
    page.refusal = errorMessage(u"構文エラー");
    page.validationLog = u"構文エラー - 1行目\r\n";
    for (int showLog : {0, 1}) {
        session.detail.showLog = showLog;
        const ExecuteResult result = executeRun(session, host, quiet);
        EXPECT_EQ(result.message, page.refusal);
        EXPECT_EQ(result.showResult, showLog == 1);
        EXPECT_EQ(result.resultLine, u"");
        EXPECT_EQ(session.log().text(), u"構文エラー - 1行目\r\n");
    }
    EXPECT_EQ(names(), Names{u"a"});
    EXPECT_EQ(page.box.entries, Names{}) << "histories are committed after validation only";

    page.refusal.reset();
    page.validationLog.clear();
    executeRun(session, host, quiet);
    EXPECT_EQ(page.box.entries, Names{u"typed"});
}

TEST_F(Execute, CancelKeepsWhatWasDone) {
    addFiles({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    for (char16_t c = u'0'; c <= u'9'; ++c)
        page.renames[std::u16string(1, c)] = u"n" + std::u16string(1, c);
    testing::CancellingObserver cancelAtThird(3);
    const ExecuteResult result = executeRun(session, host, cancelAtThird);
    EXPECT_EQ(names(), (Names{u"n0", u"n1", u"n2", u"3", u"4", u"5", u"6", u"7", u"8", u"9"}));
    EXPECT_EQ(result.processed, 3);
    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(session.canUndo());
    EXPECT_TRUE(cancelAtThird.ended);
}

TEST_F(Execute, SelectedRowsOnly) {
    addFiles({"0", "1", "2", "3", "4"});
    selectRows(session, {1, 3});
    session.settings.selectedOnly = 1;
    page.renames = {{u"0", u"x0"}, {u"1", u"x1"}, {u"3", u"x3"}};
    executeRun(session, host, quiet);
    EXPECT_EQ(names(), (Names{u"0", u"x1", u"2", u"x3", u"4"}));
    EXPECT_EQ(page.seen, (std::vector<std::pair<int, int>>{{0, 1}, {1, 3}}));
    EXPECT_EQ(session.undoRecord().rows, (std::vector<std::size_t>{1, 3}));
}

TEST_F(Execute, ABackupNeverReplacesAFile) {
    addFiles({"a.txt"});
    session.settings.backup = 1;
    executeRun(session, host, quiet);
    EXPECT_EQ(dir.read("a.txt.bak"), "a.txt");
    EXPECT_EQ(session.log().text(), u"");
    dir.write("a.txt", "second");
    const ExecuteResult result = executeRun(session, host, quiet);
    EXPECT_EQ(dir.read("a.txt.bak"), "a.txt");
    EXPECT_EQ(dir.read("a.txt[1].bak"), "second");
    EXPECT_EQ(session.log().text(),
              u"バックアップを別名で保存しました - " + path(u"a.txt[1].bak") + u"\r\n");
    EXPECT_EQ(result.failures, 0u) << "a backup beside the first one is no failure";
    EXPECT_FALSE(session.canUndo()) << "nothing was renamed";
}

TEST(ExecuteUndoable, AMethodThatChangesFilesLeavesNothingToUndo) {
    testing::TempDir iniDir, dir;
    RenameSession session(IniFile(iniDir.folder() + u"i.ini"), testing::fakeTable(false));
    dir.write("a");
    appendRow(session, itemRow(u"a", dir.folder()));
    static_cast<testing::FakePage&>(*session.methods.page(0)).renames = {{u"a", u"b"}};
    testing::FakeHost host;
    QuietObserver quiet;
    EXPECT_EQ(executeRun(session, host, quiet).processed, 1);
    EXPECT_FALSE(session.canUndo());
}

class MoveAfterRun : public testing::EngineTest {
  protected:
    void SetUp() override {
        addFiles({"a", "b"});
        page.renames = {{u"a", u"x"}, {u"b", u"y"}};
        session.settings.moveAfter = 1;
        host.folder = target.folder();
    }
    testing::TempDir target;
};

TEST_F(MoveAfterRun, MovesTheRenamedItemsAndRemembersTheFolder) {
    page.renames.erase(u"b");
    executeRun(session, host, quiet);
    ASSERT_EQ(host.folderRequests.size(), 1u);
    EXPECT_EQ(host.folderRequests[0].first, u"移動先のフォルダを選択してください");
    EXPECT_EQ(host.folderRequests[0].second, u"/") << "the default start";
    EXPECT_TRUE(target.exists("x"));
    EXPECT_EQ(session.items().folder(0), target.folder());
    EXPECT_EQ(session.items().folder(1), dir.folder());
    EXPECT_EQ(session.settings.destination, target.folder());

    page.renames = {{u"b", u"z"}};
    executeRun(session, host, quiet);
    EXPECT_EQ(host.folderRequests[1].second, target.folder());
}

TEST_F(MoveAfterRun, NothingRenamedNothingAsked) {
    page.renames.clear();
    executeRun(session, host, quiet);
    EXPECT_TRUE(host.folderRequests.empty());
}

TEST_F(MoveAfterRun, SameFolderIsReported) {
    host.folder = dir.folder().substr(0, dir.folder().size() - 1);  // without the separator
    executeRun(session, host, quiet);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0], (Message{u"移動元と移動先が同じです", path(u"y"), Icon::Error}))
        << "last row first";
    EXPECT_EQ(host.messages[1].caption, path(u"x"));
    EXPECT_EQ(session.items().folder(0), dir.folder());
}

TEST_F(MoveAfterRun, AnExistingTargetIsReplacedOnlyOnYes) {
    target.write("x", "old");
    for (bool yes : {false, true}) {
        host.yes = yes;
        host.questions.clear();
        executeRun(session, host, quiet);
        ASSERT_EQ(host.questions.size(), 1u);
        EXPECT_EQ(host.questions[0],
                  (Message{u"x\r\n\r\n移動先に同名ファイルが存在します。\r\n上書きしますか？",
                           u"確認", Icon::Question}));
        EXPECT_EQ(target.read("x"), yes ? "a" : "old");
        EXPECT_EQ(session.items().folder(0), yes ? target.folder() : dir.folder());
        EXPECT_TRUE(target.exists("y"));
        if (!yes) {
            // Back to the start for the second round.
            std::filesystem::rename(dir.path() / "x", dir.path() / "a");
            std::filesystem::rename(target.path() / "y", dir.path() / "b");
            clearRows(session);
            appendRow(session, itemRow(u"a", dir.folder()));
            appendRow(session, itemRow(u"b", dir.folder()));
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(target.path()), {}), 2)
        << "nothing left over from the replaced file";
}

TEST_F(MoveAfterRun, TheSameFileThroughAnotherPathIsNeverLost) {
    std::filesystem::create_directory_symlink(dir.path(), target.path() / "link");
    host.folder = target.folder() + u"link";
    host.yes = true;
    executeRun(session, host, quiet);
    EXPECT_EQ(host.questions.size(), 2u);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_TRUE(host.messages[0].text.starts_with(u"移動に失敗しました\r\n"));
    EXPECT_EQ(onDisk(), (Files{"x", "y"}));
    EXPECT_EQ(dir.read("x"), "a");
}

TEST_F(MoveAfterRun, CopyLeavesTheRowsAlone) {
    session.settings.moveAfter = 0;
    session.settings.copyAfter = 1;
    target.write("y", "old");
    target.makeFolder("sub");
    host.yes = false;
    executeRun(session, host, quiet);
    EXPECT_EQ(host.folderRequests[0].first, u"コピー先のフォルダを選択してください");
    EXPECT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(target.read("x"), "a");
    EXPECT_EQ(target.read("y"), "old");
    EXPECT_EQ(onDisk(), (Files{"x", "y"}));
    EXPECT_EQ(session.items().folder(0), dir.folder());
}

TEST(CopyItems, CopiesFoldersWithTheirContentEvenIntoThemselves) {
    testing::TempDir iniDir, dir;
    dir.write("f/one", "1");
    dir.write("f/sub/two", "2");
    RenameSession session(IniFile(iniDir.folder() + u"i.ini"), testing::fakeTable());
    appendRow(session, itemRow(u"f", dir.folder()));
    testing::FakeHost host;
    copyItems(session, host, {0}, dir.folder() + u"f");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(dir.read("f/f/one"), "1");
    EXPECT_EQ(dir.read("f/f/sub/two"), "2");
    EXPECT_FALSE(dir.exists("f/f/f"));
}

class LabelEdit : public testing::EngineTest {};

TEST_F(LabelEdit, RenamesOneRow) {
    const Message forbidden = text::forbiddenMessage(text::ForbiddenSet::All);
    struct Case {
        std::u16string edited;
        int fullWidth;
        std::u16string name;  // the row's name afterwards
        std::vector<Message> messages;
    };
    const std::vector<Case> cases = {
        {u" b.txt. ", 0, u"b.txt", {}},
        {u"a:b.txt", 0, u"ab.txt", {forbidden}},
        {u"a:b.txt", 1, u"a：b.txt", {}},
        {u"taken.txt", 0, u"a.txt", {errorMessage(u"同名ファイルが存在します\n$taken.txt")}},
        {u"::", 0, u"a.txt", {forbidden}},
        {u"a.txt", 0, u"a.txt", {}},
        {u"...", 0, u"a.txt", {errorMessage(u"ファイル名がありません\n$")}},
        {std::u16string(u"x\0y", 3),
         0,
         u"a.txt",
         {errorMessage(u"ファイル名に使えない文字が含まれています\n$" +
                       std::u16string(u"x\0y", 3))}},
    };
    for (const Case& c : cases) {
        testing::TempDir folder;
        folder.write("a.txt");
        folder.write("taken.txt");
        clearRows(session);
        appendRow(session, itemRow(u"a.txt", folder.folder()));
        session.detail.fullWidthForbidden = c.fullWidth;
        auto messages = renameByLabelEdit(session, 0, c.edited).messages;
        for (auto& m : messages)
            text::replaceAll(m.text, folder.folder(), u"$");
        EXPECT_EQ(names(), Names{c.name}) << testing::utf8(c.edited);
        EXPECT_EQ(messages, c.messages) << testing::utf8(c.edited);
        EXPECT_TRUE(std::filesystem::exists(folder.path() / testing::utf8(c.name)));
    }
}

}  // namespace
}  // namespace soramine
