#include "core/engine/preview.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace soramine {
namespace {

using testing::appendRow;
using testing::clearRows;
using testing::itemRow;
using testing::Names;
using testing::selectRows;
using testing::utf8;

class Preview : public testing::EngineTest {};

TEST_F(Preview, ShowsTheNameEachItemWouldGet) {
    using Outcome = PreviewResult::Outcome;
    using enum PreviewResult::Outcome;
    const std::u16string longName(252, u'x');  // "[1]" makes it 255 units
    // The file system counts bytes: 85 kanji are 255 bytes in UTF-8, 86 are too many.
    const std::u16string kanji85(85, u'漢');
    const std::u16string kanji86(86, u'漢');
    struct Case {
        const char* what;
        std::vector<std::string> onDisk;  // besides the item
        std::u16string item;
        std::u16string next;
        bool autoAvoid;
        std::u16string shown;
        Outcome outcome;
    };
    const Case cases[] = {
        {"free name", {}, u"a.txt", u"b.txt", false, u"b.txt", kRenamed},
        {"unchanged", {}, u"a.txt", u"a.txt", false, u"変更無し", kUnchanged},
        {"trimmed to the old name", {}, u"a.txt", u" a.txt. ", false, u"変更無し", kUnchanged},
        {"taken", {"b.txt"}, u"a.txt", u"b.txt", false, u"同名ファイルが存在します", kRefused},
        {"taken, avoided",
         {"photo.tar.gz"},
         u"a",
         u"photo.tar.gz",
         true,
         u"photo.tar[1].gz",
         kNumbered},
        {"counter grows",
         {"photo.tar.gz", "photo.tar[1].gz"},
         u"a",
         u"photo.tar.gz",
         true,
         u"photo.tar[2].gz",
         kNumbered},
        {"no full stop", {"README"}, u"a", u"README", true, u"README[1]", kNumbered},
        {"too long",
         {std::string(252, 'x')},
         u"a",
         longName,
         true,
         u"ファイル名変更エラー",
         kRefused},
        {"case only", {}, u"a.txt", u"A.txt", true, u"A.txt", kRenamed},
        {"85 kanji fit", {}, u"a", kanji85, false, kanji85, kRenamed},
        {"86 kanji do not",
         {},
         u"a",
         kanji86,
         true,
         u"ファイル名が長すぎます(258 / 255 バイト)",
         kRefused},
        {"a path",
         {},
         u"a.txt",
         u"sub/a.txt",
         true,
         u"ファイル名に使えない文字が含まれています",
         kRefused},
        {"parent", {}, u"a.txt", u"..", true, u"ファイル名がありません", kRefused},
    };
    for (const Case& c : cases) {
        testing::TempDir folder;
        for (const auto& name : c.onDisk)
            folder.write(name);
        folder.write(utf8(c.item));
        clearRows(session);
        appendRow(session, itemRow(c.item, folder.folder()));
        session.settings.autoAvoid = c.autoAvoid;
        page.renames = {{c.item, c.next}};
        const auto preview = previewRun(session, host, quiet);
        EXPECT_EQ(preview.previewOld, Names{c.item}) << c.what;
        EXPECT_EQ(preview.previewNew, Names{c.shown}) << c.what;
        EXPECT_EQ(preview.outcomes, std::vector<Outcome>{c.outcome}) << c.what;
    }
}

// A window's visible items first: the loop's order, and the same results in any order.
TEST_F(Preview, WorksThroughTheFirstItemsFirst) {
    struct Case {
        std::size_t count, first, last;
        std::vector<std::size_t> order;
    };
    const Case cases[] = {
        {5, 0, 0, {0, 1, 2, 3, 4}},
        {5, 2, 4, {2, 3, 0, 1, 4}},
        {5, 3, 9, {3, 4, 0, 1, 2}},
        {5, 4, 2, {0, 1, 2, 3, 4}},
        {1, 0, 1, {0}},
    };
    for (const Case& c : cases) {
        PreviewJob job;
        job.plan.rows.resize(c.count);
        job.firstItems = {c.first, c.last};
        std::vector<std::size_t> order;
        for (std::size_t n = 0; n < c.count; ++n)
            order.push_back(previewOrder(job, n));
        EXPECT_EQ(order, c.order) << c.first << ".." << c.last;
    }
    addFiles({"a.txt", "b.txt", "c.txt", "d.txt"});
    page.renames = {{u"a.txt", u"b.txt"}, {u"c.txt", u"x.txt"}, {u"d.txt", u"d.txt"}};
    const PreviewResult inOrder = previewRun(session, host, quiet);
    PreviewJob job = startPreview(session, host);
    job.firstItems = {2, 4};
    previewItems(job, quiet);
    const PreviewResult visibleFirst = finishPreview(std::move(job));
    EXPECT_EQ(visibleFirst.previewNew, inOrder.previewNew);
    EXPECT_EQ(visibleFirst.outcomes, inOrder.outcomes);
}

TEST_F(Preview, ChecksOnlyTheDiskAndChangesNothing) {
    addFiles({"a.txt", "b.txt", "c.txt"});
    session.settings.backup = 1;
    session.settings.moveAfter = 1;
    page.renames = {{u"a.txt", u"x.txt"}, {u"b.txt", u"x.txt"}, {u"c.txt", u"c2.txt"}};
    page.logs = {{u"c.txt", u"置換後の文字数が多いです - " + path(u"c.txt") + u"\r\n"}};
    const auto before = onDisk();

    const auto preview = previewRun(session, host, quiet);
    EXPECT_EQ(preview.previewNew, (Names{u"x.txt", u"x.txt", u"置換後の文字数が多いです"}));
    EXPECT_EQ(onDisk(), before);
    EXPECT_EQ(names(), (Names{u"a.txt", u"b.txt", u"c.txt"}));
    EXPECT_EQ(session.log().text(), u"");
    EXPECT_FALSE(session.canUndo());
    EXPECT_TRUE(host.folderRequests.empty());
}

TEST_F(Preview, CancelLeavesTheRestEmpty) {
    addFiles({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    testing::CancellingObserver cancelAtThird(3);
    const auto preview = previewRun(session, host, cancelAtThird);
    EXPECT_EQ(preview.previewOld, (Names{u"0", u"1", u"2", u"", u"", u"", u"", u"", u"", u""}));
    EXPECT_EQ(preview.previewNew,
              (Names{u"変更無し", u"変更無し", u"変更無し", u"", u"", u"", u"", u"", u"", u""}));
    EXPECT_EQ(cancelAtThird.range, 10u);
    EXPECT_TRUE(cancelAtThird.ended);
}

TEST_F(Preview, SelectedRowsTakePartInListOrder) {
    addFiles({"0", "1", "2", "3", "4"});
    selectRows(session, {3, 1});
    session.settings.selectedOnly = 1;
    const auto preview = previewRun(session, host, quiet);
    EXPECT_EQ(preview.previewOld, (Names{u"1", u"3"}));
    EXPECT_EQ(page.seen, (std::vector<std::pair<int, int>>{{0, 1}, {1, 3}}));
}

TEST_F(Preview, WhatValidationLoggedIsNoItemsResult) {
    addFiles({"a"});
    page.validationLog = u"警告 - 設定\r\n";
    EXPECT_EQ(previewRun(session, host, quiet).previewNew, Names{u"変更無し"});
}

TEST_F(Preview, StopsBeforeTheFirstItem) {
    addFiles({"a"});
    page.refusal = errorMessage(u"置換する文字列を入力してください");
    auto preview = previewRun(session, host, quiet);
    EXPECT_EQ(preview.message, page.refusal);
    EXPECT_TRUE(preview.previewOld.empty());
    EXPECT_TRUE(page.seen.empty());

    page.refusal.reset();
    session.settings.selectedOnly = 1;  // nothing selected
    preview = previewRun(session, host, quiet);
    EXPECT_FALSE(preview.message);
    EXPECT_TRUE(preview.previewOld.empty());

    session.settings.selectedOnly = 0;
    session.settings.folderCreation = 1;
    EXPECT_TRUE(previewRun(session, host, quiet).previewOld.empty());
    EXPECT_TRUE(page.seen.empty());
    EXPECT_EQ(page.box.entries, Names{}) << "a preview commits no history";
}

TEST(PreviewClipboardText, ListsOldAndNewNames) {
    PreviewResult preview;
    preview.previewOld = {u"a.txt", u"c.txt"};
    preview.previewNew = {u"b.txt", u"変更無し"};
    EXPECT_EQ(previewClipboardText(preview),
              u"変更前→変更後\r\n\r\na.txt→b.txt\r\nc.txt→変更無し\r\n");
}

}  // namespace
}  // namespace soramine
