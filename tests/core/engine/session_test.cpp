#include "core/engine/session.h"

#include <gtest/gtest.h>

#include "core/methods/delete_extract.h"
#include "core/methods/method_list.h"
#include "core/methods/replace.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;

TEST(SessionHistories, EveryBoxLoadsAndSavesOnce) {
    TempDir dir;
    RenameSession session(IniFile(dir.folder() + u"ソラミネ.ini"), makeMethodTable());
    // Folder, extension, then the numbering, replace (two), add-text, MP3, extension, date,
    // random-name and split (two) pages' boxes; the add-text page is shared with numbering and
    // date but listed once.
    const auto boxes = session.historyBoxes();
    std::vector<std::u16string> keys;
    for (const HistoryBox* box : boxes)
        keys.push_back(box->section + box->prefix);
    EXPECT_EQ(keys,
              (std::vector<std::u16string>{
                  u"メインフォルダ名", u"メイン拡張子", u"連番変更名", u"置換変更前", u"置換変更後",
                  u"追加文字", u"MP3設定値", u"拡張子変更後", u"日時形式", u"テキストファイル名",
                  u"ランダムファイル名", u"並び替え区切り", u"並び替え並び順"}));

    session.folderBox.entries = {u"/photos/", u"/music/"};
    auto* replace = dynamic_cast<ReplacePage*>(session.methods.page(1));
    ASSERT_NE(replace, nullptr);
    replace->search.entries = {u"IMG_"};
    session.detail.historyLimit = 1;
    HistoryMap map;
    session.saveHistories(map);
    // The delete page's given text and the script are kept under keys of their own, whatever
    // the limit.
    EXPECT_EQ(map, (HistoryMap{{u"メインフォルダ名0", u"/photos/"},
                               {u"置換変更前0", u"IMG_"},
                               {u"指定文字", u"@"},
                               {u"スクリプト-コード", u"<置換前文字>→<置換後文字>\r\n"}}));
    EXPECT_EQ(session.ini.readInt(u"メイン", u"フォルダ名カウント", -1), 1);
    EXPECT_EQ(session.ini.readInt(u"置換", u"変更後カウント", -1), 0);

    RenameSession next(IniFile(dir.folder() + u"ソラミネ.ini"), makeMethodTable());
    map[u"指定文字"] = u"_";
    next.loadHistories(map);
    EXPECT_EQ(dynamic_cast<DeleteExtractPage*>(next.methods.page(3))->settings.givenText, u"_");
    EXPECT_EQ(next.folderBox.text, u"/photos/");
    EXPECT_EQ(next.extensionBox.text, u"*");  // no history: the default text
    EXPECT_EQ(dynamic_cast<ReplacePage*>(next.methods.page(1))->search.text, u"IMG_");
}

// A page that keeps one text in the history store under a key of its own.
class StoredTextPage final : public MethodPage {
  public:
    std::u16string script = u"既定";  // the page's default

    std::u16string_view comboText() const override { return u"偽"; }
    void readIni(const IniFile&) override {}
    void writeIni(IniFile&) const override {}
    std::optional<Message> validate(RunContext&) override { return std::nullopt; }
    std::u16string transform(const ItemArgs& item, RunContext&) override {
        return std::u16string(item.name);
    }
    void saveBlock(BlockWriter&) const override {}
    bool loadBlock(BlockReader&) override { return true; }
    std::vector<StoredText> storedTexts() override { return {{u"偽-コード", &script}}; }
};

TEST(SessionHistories, StoredTextsUseTheirWholeKeyAndDefault) {
    TempDir dir;
    const auto session = [&] {
        std::vector<MethodTable::Entry> entries;
        entries.push_back({std::make_unique<StoredTextPage>(), true});
        return RenameSession(IniFile(dir.folder() + u"ソラミネ.ini"),
                             MethodTable(std::move(entries)));
    };
    RenameSession first = session();
    auto& page = static_cast<StoredTextPage&>(*first.methods.page(0));
    first.loadHistories({});
    EXPECT_EQ(page.script, u"既定");
    page.script = u"<a>→<b>\r\n";
    HistoryMap map;
    first.detail.historyLimit = 0;  // the limit is for history lists only
    first.saveHistories(map);
    EXPECT_EQ(map, (HistoryMap{{u"偽-コード", u"<a>→<b>\r\n"}}));

    RenameSession next = session();
    next.loadHistories(map);
    EXPECT_EQ(static_cast<StoredTextPage&>(*next.methods.page(0)).script, u"<a>→<b>\r\n");
}

}  // namespace
}  // namespace soramine
