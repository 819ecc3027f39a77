#include "core/items/import.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/platform/fs.h"
#include "core/text/utf.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace soramine {
namespace {

using Names = std::vector<std::u16string>;

class Import : public ::testing::Test {
  protected:
    Import() : importer(table, main, folderBox, extensionBox, 10) {
        main = defaultMainSettings();
        detail = defaultDetailSettings();
        folderBox.text = dir.folder();
        extensionBox.text = u"*";
    }

    Names names() const {
        Names out;
        for (size_t i = 0; i < table.count(); ++i)
            out.push_back(table.name(i));
        return out;
    }

    testing::TempDir dir;
    ItemTable table;
    MainSettings main;
    DetailSettings detail;
    HistoryBox folderBox{u"メイン", u"フォルダ名", u"C:\\", {}, {}};
    HistoryBox extensionBox{u"メイン", u"拡張子", u"*", {}, {}};
    Importer importer;
};

TEST_F(Import, SubfolderRowsComeFirstUnlessSortedAsOneBlock) {
    dir.write("b.txt");
    dir.write("a.txt");
    dir.write("sub/c.txt");
    main.subfolders = 1;
    ASSERT_FALSE(importer.importFolder(detail));
    EXPECT_EQ(names(), (Names{u"c.txt", u"a.txt", u"b.txt"}));
    EXPECT_EQ(table.folder(0), dir.folder() + u"sub/");
    EXPECT_EQ(table.folder(1), dir.folder());

    detail.sortOnImport = 1;
    ASSERT_FALSE(importer.importFolder(detail));
    EXPECT_EQ(names(), (Names{u"a.txt", u"b.txt", u"c.txt"}));
}

TEST_F(Import, SubfoldersAreScannedInNameOrder) {
    for (auto f : {"z/1.txt", "m/2.txt", "a/3.txt", "m/n/4.txt"})
        dir.write(f);
    main.subfolders = 1;
    ASSERT_FALSE(importer.importFolder(detail));
    EXPECT_EQ(names(), (Names{u"3.txt", u"4.txt", u"2.txt", u"1.txt"}));
}

TEST_F(Import, RowsCarryDateAndSizeTextsUnlessLeftOut) {
    dir.write("data.bin", std::string(1234, 'x'));
    ASSERT_FALSE(importer.importFolder(detail));
    ASSERT_EQ(table.count(), 1u);
    EXPECT_EQ(table.size(0), u"1,234");
    EXPECT_EQ(table.modified(0).size(), 21u);
    EXPECT_EQ(table.modified(0).back(), u'\n');
    EXPECT_EQ(table.imageText(0), u"0");

    importer.leaveOutStatusColumns();
    ASSERT_FALSE(importer.importFolder(detail));
    ASSERT_EQ(table.count(), 1u);
    EXPECT_EQ(table.row(0), (Row{u"data.bin", dir.folder(), u"", u"", u"", u"0"}));
}

TEST_F(Import, AttributeSettingsDecideWhatIsSkipped) {
    dir.write("plain.txt");
    dir.write(".dot.txt");
    dir.write("listed.txt");
    dir.write(".hidden", "listed.txt\n");
    dir.write(".secret/inner.txt");
    auto locked = dir.write("locked.txt");
    chmod(locked.c_str(), 0444);
    main.subfolders = 1;

    // The same whether the rows get their status texts or not.
    for (bool statusColumns : {true, false}) {
        SCOPED_TRACE(statusColumns);
        if (!statusColumns)
            importer.leaveOutStatusColumns();
        detail = defaultDetailSettings();
        ASSERT_FALSE(importer.importFolder(detail));  // defaults: read-only taken, hidden not
        EXPECT_EQ(names(), (Names{u"locked.txt", u"plain.txt"}));

        detail.importReadOnly = 0;
        ASSERT_FALSE(importer.importFolder(detail));
        EXPECT_EQ(names(), (Names{u"plain.txt"}));

        detail.importHidden = 1;
        ASSERT_FALSE(importer.importFolder(detail));
        EXPECT_EQ(names(),
                  (Names{u"inner.txt", u".dot.txt", u".hidden", u"listed.txt", u"plain.txt"}));
    }
}

TEST_F(Import, FolderModeListsOneLevelOfFolders) {
    dir.write("x/deep/file.txt");
    dir.write("b/file.txt");
    dir.write("file.txt");
    extensionBox.text = u"フォルダモード";
    main.subfolders = 1;
    ASSERT_FALSE(importer.importFolder(detail));
    EXPECT_EQ(main.folderMode, 1);
    EXPECT_EQ(names(), (Names{u"b", u"x"}));
    EXPECT_EQ(table.size(0), u"-");
}

TEST_F(Import, OnlyExclusionsSwitchFolderModeOnInNewMode) {
    dir.makeFolder("f");
    extensionBox.text = u"-txt";
    ASSERT_FALSE(importer.importFolder(detail));
    EXPECT_EQ(main.folderMode, 1);
    EXPECT_EQ(names(), (Names{u"f"}));
}

TEST_F(Import, ReportsTheThreeInputErrors) {
    folderBox.text.clear();
    auto m = importer.importFolder(detail);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->text, u"フォルダ名を入力してください。");
    EXPECT_EQ(m->caption, u"エラー");

    folderBox.text = dir.folder();
    extensionBox.text.clear();
    m = importer.importFolder(detail);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->text, u"拡張子を入力してください。");

    dir.write("a.txt");
    table.append(Row{u"kept"});
    extensionBox.text = u"*";
    main.folderMode = 1;
    main.importMode = 1;
    m = importer.importFolder(detail);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->text, u"フォルダモードのときは追加できません");
    EXPECT_EQ(names(), (Names{u"kept"}));
    EXPECT_EQ(folderBox.entries, (Names{dir.folder()}));  // histories were committed
}

TEST_F(Import, AFolderThatCannotBeListedChangesNothing) {
    dir.write("a.txt");
    struct Case {
        const char* label;
        std::u16string folder;
        std::u16string reason;
    } cases[] = {
        {"missing", dir.folder() + u"gone", u"指定されたファイルが見つかりません。"},
        {"a file", dir.folder() + u"a.txt", u"ディレクトリ名が無効です。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        table.clear();
        table.append(Row{u"kept"});
        main.importMode = 0;
        main.folderMode = 0;
        extensionBox.text = u"-txt";  // would switch folder mode on
        folderBox.text = c.folder;
        folderBox.entries.clear();
        extensionBox.entries.clear();
        auto m = importer.importFolder(detail);
        ASSERT_TRUE(m);
        EXPECT_EQ(m->text, u"フォルダを読み込めません: " + c.folder + u"/ (" + c.reason + u")");
        EXPECT_EQ(m->caption, u"エラー");
        EXPECT_EQ(names(), (Names{u"kept"}));
        EXPECT_TRUE(folderBox.entries.empty());
        EXPECT_TRUE(extensionBox.entries.empty());
        EXPECT_EQ(main.folderMode, 0);
    }
}

TEST_F(Import, AnUnreadableSubfolderIsReportedAndTheRestImported) {
    dir.write("a.txt");
    dir.write("locked/b.txt");
    main.subfolders = 1;
    testing::runWherePermissionsApply({dir.path()}, [&] {
        ::chmod((dir.path() / "locked").c_str(), 0);
        EXPECT_FALSE(importer.importFolder(detail));
        ::chmod((dir.path() / "locked").c_str(), 0755);
        EXPECT_EQ(names(), (Names{u"a.txt"}));
        ASSERT_EQ(importer.unreadableFolders().size(), 1u);
        EXPECT_EQ(
            unreadableFolderText(importer.unreadableFolders()[0]),
            u"フォルダを読み込めません: " + dir.folder() + u"locked/ (アクセスが拒否されました。)");
    });
}

TEST_F(Import, AddModeAppendsAndNewModeReplaces) {
    dir.write("a.txt");
    table.append(Row{u"old"});
    main.importMode = 1;
    ASSERT_FALSE(importer.importFolder(detail));
    EXPECT_EQ(names(), (Names{u"old", u"a.txt"}));
    main.importMode = 0;
    ASSERT_FALSE(importer.importFolder(detail));
    EXPECT_EQ(names(), (Names{u"a.txt"}));
}

TEST_F(Import, CommandLineKeepsArgumentOrderAndDropSortsByName) {
    auto z = dir.write("z.txt");
    auto a = dir.write("a.txt");
    dir.write("sub/m.txt");
    Names paths{text::fromUtf8(z.string()), text::fromUtf8(a.string()), dir.folder() + u"sub",
                dir.folder() + u"missing.txt"};
    importer.importPaths(paths, PathSource::CommandLine, detail);
    EXPECT_EQ(names(), (Names{u"z.txt", u"a.txt", u"m.txt"}));

    importer.importPaths(paths, PathSource::Drop, detail);
    EXPECT_EQ(names(), (Names{u"m.txt", u"a.txt", u"z.txt"}));
}

TEST_F(Import, PathsFromInterleavedFoldersKeepTheirOrderAndTheirFoldersHiddenLists) {
    for (auto f : {"A/a1.txt", "A/a2.txt", "A/sub/s.txt", "B/b1.txt", "B/b2.txt", "B/a2.txt"})
        dir.write(f);
    dir.write("A/.hidden", "a2.txt\n");
    dir.write("B/.hidden", "b2.txt\n");
    const std::u16string a = dir.folder() + u"A/", b = dir.folder() + u"B/";
    const Names paths{b + u"b1.txt", a + u"a2.txt", a + u"a1.txt",   b + u"b2.txt",
                      a + u"sub",    b + u"a2.txt", b + u"gone.txt", a + u"a1.txt"};
    using Rows = std::vector<std::pair<std::u16string, std::u16string>>;  // name, folder
    struct Case {
        PathSource source;
        int importHidden;
        Rows rows;
    };
    const Case cases[] = {
        {PathSource::CommandLine,
         0,
         {{u"b1.txt", b}, {u"a1.txt", a}, {u"s.txt", a + u"sub/"}, {u"a2.txt", b}, {u"a1.txt", a}}},
        {PathSource::CommandLine,
         1,
         {{u"b1.txt", b},
          {u"a2.txt", a},
          {u"a1.txt", a},
          {u"b2.txt", b},
          {u"s.txt", a + u"sub/"},
          {u"a2.txt", b},
          {u"a1.txt", a}}},
        {PathSource::Drop,
         0,
         {{u"s.txt", a + u"sub/"}, {u"a1.txt", a}, {u"a1.txt", a}, {u"a2.txt", b}, {u"b1.txt", b}}},
    };
    for (const Case& c : cases) {
        detail.importHidden = c.importHidden;
        importer.importPaths(paths, c.source, detail);
        Rows rows;
        for (size_t i = 0; i < table.count(); ++i)
            rows.emplace_back(table.name(i), table.folder(i));
        EXPECT_EQ(rows, c.rows) << static_cast<int>(c.source) << c.importHidden;
        table.clear();
    }
}

TEST_F(Import, AFolderIsListedInUtf16CodeUnitOrder) {
    // One shared prefix, names alike for more than eight units after it, a name that is only
    // the prefix, and characters whose UTF-8 order differs from their UTF-16 order.
    for (const char* name : {"x_long_common_part_2", "x_\xEF\xBD\x9E", "x_long_common_part_1a",
                             "x_\xE9", "x_\xF0\x9F\x98\x80", "x_long_common_part_10", "x_",
                             "x_\xE3\x81\x82", "x_long_common_part_1"})
        dir.write(name);
    ASSERT_FALSE(importer.importFolder(detail));
    std::vector<std::string> listed;
    for (size_t i = 0; i < table.count(); ++i)
        listed.push_back(text::toUtf8(table.name(i)));
    EXPECT_EQ(listed,
              (std::vector<std::string>{"x_", "x_long_common_part_1", "x_long_common_part_10",
                                        "x_long_common_part_1a", "x_long_common_part_2",
                                        "x_\xE3\x81\x82",      // U+3042
                                        "x_\xF0\x9F\x98\x80",  // U+1F600, the surrogates D83D DE00
                                        "x_\xE9",  // a byte that is not UTF-8, kept as DCE9
                                        "x_\xEF\xBD\x9E"}));  // U+FF5E
}

TEST_F(Import, NamesThatAreNotUtf8AreListedAndFoundAgain) {
    dir.write(std::string("caf\xE9.txt", 8));  // Latin-1, not UTF-8
    ASSERT_FALSE(importer.importFolder(detail));
    ASSERT_EQ(table.count(), 1u);
    EXPECT_EQ(text::toUtf8(table.name(0)), std::string("caf\xE9.txt", 8));
    EXPECT_TRUE(platform::exists(table.path(0)));
}

TEST(ImportArguments, OneQrnPathIsASettingsFile) {
    EXPECT_TRUE(isSettingsFileArgument({u"/x/job.qrn"}));
    EXPECT_TRUE(isSettingsFileArgument({u"/x/job.QRN"}));
    EXPECT_FALSE(isSettingsFileArgument({u"/x/job.qrn", u"/x/b.qrn"}));
    EXPECT_FALSE(isSettingsFileArgument({u"/x/jobqrn"}));
}

}  // namespace
}  // namespace soramine
