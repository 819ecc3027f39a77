#include "core/settings/history_box.h"

#include <gtest/gtest.h>

#include "core/app/ini_file.h"
#include "core/settings/history_store.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;
using Entries = std::vector<std::u16string>;

HistoryBox folderBox() {
    return {u"メイン", u"フォルダ名", u"/", {}, {}};
}

TEST(HistoryBox, LoadListsTheStoredEntriesBelowTheCount) {
    const HistoryMap map = {
        {u"メインフォルダ名0", u"/a/"},  {u"メインフォルダ名1", u"/b/"},
        {u"メインフォルダ名3", u"/d/"},  {u"メインフォルダ名10", u"/k/"},
        {u"メインフォルダ名01", u"/x/"}, {u"メインフォルダ名2x", u"/y/"},
        {u"メイン拡張子0", u"*.jpg"},
    };
    struct Case {
        const char* count;  // the INI value, empty for none
        Entries entries;
        std::u16string text;
    };
    const Case cases[] = {
        {"", {}, u"/"},
        {"0", {}, u"/"},
        {"-3", {}, u"/"},
        {"1", {u"/a/"}, u"/a/"},
        {"3", {u"/a/", u"/b/"}, u"/a/"},
        {"4", {u"/a/", u"/b/", u"/d/"}, u"/a/"},
        {"11", {u"/a/", u"/b/", u"/d/", u"/k/"}, u"/a/"},
        {"2147483647", {u"/a/", u"/b/", u"/d/", u"/k/"}, u"/a/"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        if (*c.count)
            dir.write("ソラミネ.ini",
                      std::string("[メイン]\nフォルダ名カウント=") + c.count + "\n");
        IniFile ini(dir.folder() + u"ソラミネ.ini");
        HistoryBox box = folderBox();
        box.entries = {u"stale"};
        loadBoxHistory(box, ini, map);
        EXPECT_EQ(box.entries, c.entries) << c.count;
        EXPECT_EQ(box.text, c.text) << c.count;
    }
}

TEST(HistoryBox, CommitKeepsTheMostRecentTextsOnce) {
    struct Case {
        const char* what;
        Entries before;
        std::u16string text;
        int limit;
        Entries after;
    };
    const Case cases[] = {
        {"new text on top", {u"/a/", u"/b/"}, u"/c/", 10, {u"/c/", u"/a/", u"/b/"}},
        {"same text moves up", {u"/a/", u"/b/"}, u"/b/", 10, {u"/b/", u"/a/"}},
        {"top text stays once", {u"/a/", u"/b/"}, u"/a/", 10, {u"/a/", u"/b/"}},
        {"oldest pushed out", {u"/c/", u"/b/", u"/a/"}, u"/d/", 3, {u"/d/", u"/c/", u"/b/"}},
        {"exact comparison", {u"/A/"}, u"/a/", 10, {u"/a/", u"/A/"}},
        {"empty text is kept", {u"*"}, u"", 10, {u"", u"*"}},
        {"folder mode never added", {u"*.jpg"}, u"フォルダモード", 10, {u"*.jpg"}},
        {"folder mode entry removed", {u"フォルダモード", u"*"}, u"フォルダモード", 10, {u"*"}},
        {"limit 0 keeps none", {u"/a/"}, u"/b/", 0, {}},
    };
    for (const auto& c : cases) {
        HistoryBox box = folderBox();
        box.entries = c.before;
        box.text = c.text;
        commitBoxText(box, c.limit);
        EXPECT_EQ(box.entries, c.after) << c.what;
        EXPECT_EQ(box.text, c.text) << c.what;
    }
}

TEST(HistoryBox, DeletedEntryIsGoneAfterRestart) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    const std::u16string storePath = dir.folder() + u"String.db";
    HistoryBox box = folderBox();
    for (const char16_t* folder : {u"/a/", u"/b/", u"/c/"}) {
        box.text = folder;
        commitBoxText(box, 10);
    }
    deleteHistoryEntry(box, 1);
    EXPECT_EQ(box.entries, (Entries{u"/c/", u"/a/"}));
    EXPECT_EQ(box.text, u"/c/");
    deleteHistoryEntry(box, 5);  // no such entry
    EXPECT_EQ(box.entries.size(), 2u);

    // The old third entry stays in the map, hidden by the smaller count.
    HistoryMap map = {{u"メインフォルダ名2", u"/old/"}};
    saveBoxHistory(box, 10, ini, map);
    saveHistoryStore(storePath, map);

    HistoryBox reloaded = folderBox();
    loadBoxHistory(reloaded, ini, loadHistoryStore(storePath));
    EXPECT_EQ(reloaded.entries, (Entries{u"/c/", u"/a/"}));
    EXPECT_EQ(reloaded.text, u"/c/");
}

TEST(HistoryBox, SaveKeepsNoMoreThanTheLimit) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    HistoryBox box = folderBox();
    box.entries = {u"/a/", u"/b/", u"/c/"};
    HistoryMap map;
    saveBoxHistory(box, 2, ini, map);
    EXPECT_EQ(ini.readInt(u"メイン", u"フォルダ名カウント", -1), 2);
    EXPECT_EQ(map, (HistoryMap{{u"メインフォルダ名0", u"/a/"}, {u"メインフォルダ名1", u"/b/"}}));
}

}  // namespace
}  // namespace soramine
