#include "core/engine/folder_maker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>

#include "core/app/ini_file.h"
#include "core/engine/engine_fixture.h"
#include "core/engine/session.h"
#include "core/methods/method_list.h"
#include "core/methods/numbering.h"
#include "core/methods/random_name.h"
#include "core/methods/text_lines.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::FakeHost;
using testing::TempDir;
using testing::utf8;

constexpr int kNumbering = 0, kReplace = 1, kTextLines = 8, kRandom = 10;

// A session with the product's pages, making folders in `dest`.
struct FolderTest {
    TempDir iniDir;
    TempDir dest;
    RenameSession session{IniFile(iniDir.folder() + u"test.ini"), makeMethodTable()};
    FakeHost host;
    std::u16string within;  // the folders are made in this folder of dest

    NumberingPage& numbering() { return static_cast<NumberingPage&>(*session.methods.page(0)); }
    TextLinesPage& textLines() { return static_cast<TextLinesPage&>(*session.methods.page(8)); }
    RandomNamePage& random() { return static_cast<RandomNamePage&>(*session.methods.page(10)); }
    void useLines(std::string_view content) {
        iniDir.write("names.txt", content);
        textLines().path.text = iniDir.folder() + u"names.txt";
    }

    // Every folder and file under dest (or a folder of it), relative, sorted ("a", "a/b", ...).
    std::vector<std::string> tree(std::string_view under = {}) const {
        const std::filesystem::path root = dest.path() / under;
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::recursive_directory_iterator(root))
            out.push_back(std::filesystem::relative(e.path(), root).string());
        std::sort(out.begin(), out.end());
        return out;
    }

    FolderCreationResult make(int method, FolderLayout layout) {
        session.settings.methodIndex = method;
        FolderCreation job = startFolderCreation(session, host);
        EXPECT_TRUE(job.ready()) << (job.message ? utf8(job.message->text) : "");
        if (!job.ready())
            return {};
        return createFolders(session, job, dest.folder() + within, layout);
    }
    std::string log() const { return utf8(session.log().text()); }
};

TEST(FolderMaker, NamesAndLayouts) {
    struct Case {
        std::string_view label;
        int method;
        std::function<void(FolderTest&)> set;
        FolderLayout layout;
        std::vector<std::string> tree;
    };
    const Case cases[] = {
        {"numbering side by side",
         kNumbering,
         [](FolderTest& t) { t.numbering().pattern.text = u"F*"; },
         {0, 3},
         {"F001", "F002", "F003"}},
        {"numbering nested",
         kNumbering,
         [](FolderTest& t) { t.numbering().pattern.text = u"F*"; },
         {1, 3},
         {"F001", "F001/F002", "F001/F002/F003"}},
        // "\" is the name of the folder each one is made in.
        {"numbering with the parent's name",
         kNumbering,
         [](FolderTest& t) {
             t.numbering().pattern.text = u"\\_*";
             t.dest.makeFolder("w");
             t.within = u"w";
         },
         {1, 2},
         {"w", "w/w_001", "w/w_001/w_001_002"}},
        {"numbering step and kind",
         kNumbering,
         [](FolderTest& t) {
             t.numbering().pattern.text = u"*";
             t.numbering().settings.kind = 1;
             t.numbering().settings.digits = 0;
             t.numbering().settings.start = u"26";
         },
         {0, 2},
         {"A0", "Z"}},
        {"numbering inserted (add mode)",
         kNumbering,
         [](FolderTest& t) {
             t.numbering().pattern.text = u"n*";
             t.numbering().settings.mode = 1;
         },
         {0, 2},
         {"n001", "n002"}},
        {"text lines side by side",
         kTextLines,
         [](FolderTest& t) { t.useLines("a\nb\nc\n"); },
         {0, 16},
         {"a", "b", "c"}},
        {"text lines nested",
         kTextLines,
         [](FolderTest& t) { t.useLines("a\r\nb\r\nc"); },
         {1, 16},
         {"a", "a/b", "a/b/c"}},
        {"text lines: the count before the lines",
         kTextLines,
         [](FolderTest& t) { t.useLines("a\nb\nc\n"); },
         {0, 2},
         {"a", "b"}},
        {"text lines keep no extension",
         kTextLines,
         [](FolderTest& t) { t.useLines("x.y\n"); },
         {0, 2},
         {"x.y"}},
        {"text lines from the clipboard",
         kTextLines,
         [](FolderTest& t) {
             t.textLines().settings.source = 0;
             t.host.clipboard = u"p\r\nq\r\n\r\n";
         },
         {0, 5},
         {"p", "q"}},
    };
    for (const Case& c : cases) {
        FolderTest t;
        c.set(t);
        const FolderCreationResult result = t.make(c.method, c.layout);
        EXPECT_EQ(t.tree(), c.tree) << c.label;
        EXPECT_EQ(result.failures, 0u) << c.label;
        EXPECT_EQ(result.message,
                  (Message{u"フォルダを作成しました", u"作成結果", Icon::Information}))
            << c.label;
        EXPECT_EQ(t.log(), "") << c.label;
    }
}

TEST(FolderMaker, SixteenOfThirtyLines) {
    FolderTest t;
    std::string lines;
    for (int i = 1; i <= 30; ++i)
        lines += "d" + std::to_string(i) + "\n";
    t.useLines(lines);
    EXPECT_EQ(t.make(kTextLines, {0, 16}).created.size(), 16u);
    EXPECT_EQ(t.tree().size(), 16u);
    EXPECT_TRUE(t.dest.exists("d16"));
    EXPECT_FALSE(t.dest.exists("d17"));
}

TEST(FolderMaker, RandomNames) {
    for (const std::int32_t nested : {0, 1}) {
        FolderTest t;
        t.random().settings.count = 8;
        const FolderCreationResult result = t.make(kRandom, {nested, 4});
        ASSERT_EQ(result.created.size(), 4u);
        const std::regex name("[0-9a-zA-Z]{8}");
        std::u16string parent = t.dest.folder();
        for (const std::u16string& folder : result.created) {
            EXPECT_TRUE(std::filesystem::is_directory(utf8(folder)));
            const std::u16string last = folder.substr(folder.rfind(u'/') + 1);
            EXPECT_TRUE(std::regex_match(utf8(last), name)) << utf8(folder);
            EXPECT_EQ(folder.substr(0, folder.rfind(u'/') + 1), parent) << "nested " << nested;
            if (nested)
                parent = folder + u"/";
        }
    }
}

// Nothing that exists is replaced or removed: its name is logged and the others are made.
TEST(FolderMaker, ExistingNames) {
    struct Case {
        std::string_view label;
        FolderLayout layout;
        std::vector<std::string> tree;
        std::string log;
        std::size_t failures;
    };
    const Case cases[] = {
        {"side by side",
         {0, 16},
         {"a", "a/keep", "b", "c"},
         "既に存在するファイルを作成することはできません。 - @a\r\n"
         "既に存在するファイルを作成することはできません。 - @b\r\n",
         2},
        // The next folder goes inside the existing one; past the file nothing can be made.
        {"nested",
         {1, 16},
         {"a", "a/b", "a/keep"},
         "既に存在するファイルを作成することはできません。 - @a\r\n"
         "既に存在するファイルを作成することはできません。 - @a/b\r\n"
         "ディレクトリ名が無効です。 - @a/b/c\r\n",
         3},
    };
    for (const Case& c : cases) {
        FolderTest t;
        t.dest.write("a/keep", "kept");
        t.dest.write(c.layout.nested ? "a/b" : "b", "file");
        t.useLines("a\nb\nc\n");
        const FolderCreationResult result = t.make(kTextLines, c.layout);
        EXPECT_EQ(t.tree(), c.tree) << c.label;
        EXPECT_EQ(t.dest.read("a/keep"), "kept") << c.label;
        EXPECT_EQ(t.dest.read(c.layout.nested ? "a/b" : "b"), "file") << c.label;
        std::string log = c.log;
        for (std::size_t at; (at = log.find('@')) != std::string::npos;)
            log.replace(at, 1, utf8(t.dest.folder()));
        EXPECT_EQ(t.log(), log) << c.label;
        EXPECT_EQ(result.failures, c.failures) << c.label;
        EXPECT_EQ(result.message.icon, Icon::Warning) << c.label;
        EXPECT_EQ(utf8(result.message.text).rfind("作成できなかったフォルダがあります　(", 0), 0u)
            << c.label;
    }
}

// Characters a name cannot hold are repaired or deleted (and logged); what is then no name
// (empty, "..", a path) is logged and never made, and a nested layout stays where it is.
TEST(FolderMaker, NamesThatAreNotNames) {
    struct Case {
        std::string_view label;
        int method;
        std::function<void(FolderTest&)> set;
        FolderLayout layout;
        std::vector<std::string> tree;
        std::vector<std::string> logged;  // a part of each log line, in order
        std::size_t failures;
    };
    const Case cases[] = {
        {"forbidden characters deleted",
         kTextLines,
         [](FolderTest& t) { t.useLines("x:y\na/b\n"); },
         {0, 2},
         {"ab", "xy"},
         {"は使えません - x:y\r\n", "は使えません - a/b\r\n"},
         0},
        {"forbidden characters widened",
         kTextLines,
         [](FolderTest& t) {
             t.useLines("x:y\n");
             t.session.detail.fullWidthForbidden = 1;
         },
         {0, 2},
         {"x：y"},
         {},
         0},
        {"an empty line and dots",
         kTextLines,
         [](FolderTest& t) { t.useLines("a\n\n..\nb\n"); },
         {1, 4},
         {"a", "a/b"},
         {"ファイル名がありません - ", "ファイル名がありません - "},
         2},
        {"a numbering pattern that climbs out",
         kNumbering,
         [](FolderTest& t) { t.numbering().pattern.text = u"../x*"; },
         {0, 2},
         {},
         {"含まれています - @/x001\r\n", "含まれています - @/x002\r\n"},
         2},
        {"trailing dots and spaces",
         kTextLines,
         [](FolderTest& t) { t.useLines(" d. \n"); },
         {0, 2},
         {"d"},
         {},
         0},
    };
    for (const Case& c : cases) {
        // The folders are made in dest/in, so that whatever climbed out would land in dest,
        // a folder no other test writes to.
        FolderTest t;
        t.dest.makeFolder("in");
        t.within = u"in/";
        c.set(t);
        const FolderCreationResult result = t.make(c.method, c.layout);
        EXPECT_EQ(t.tree("in"), c.tree) << c.label;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(t.dest.path()),
                                std::filesystem::directory_iterator()),
                  1)
            << c.label << ": nothing made outside";
        std::string log = t.log();
        for (std::string part : c.logged) {
            if (const std::size_t at = part.find('@'); at != std::string::npos)
                part.replace(at, 1, utf8(t.dest.folder() + t.within));
            const std::size_t at = log.find(part);
            ASSERT_NE(at, std::string::npos) << c.label << ": " << part << " in " << t.log();
            log.erase(0, log.find("\r\n", at) + 2);
        }
        EXPECT_EQ(log, "") << c.label;
        EXPECT_EQ(result.failures, c.failures) << c.label;
    }
}

// Steps that stop the creation before any folder is made.
TEST(FolderMaker, Refusals) {
    struct Case {
        std::string_view label;
        int method;
        std::function<void(FolderTest&)> set;
        std::string message;
    };
    const Case cases[] = {
        {"a method that names no folders", kReplace, [](FolderTest&) {},
         "フォルダ作成できるリネーム方式ではありません\t\t\r\n\r\nリネーム方式を変更して下さい"},
        {"numbering check", kNumbering,
         [](FolderTest& t) { t.numbering().settings.start = u"1.5"; }, "開始番号が不正です。"},
        {"random words file", kRandom,
         [](FolderTest& t) {
             t.random().settings.useWords = 1;
             t.random().wordsFile.text = t.iniDir.folder() + u"missing.txt";
         },
         "テキストファイルが不正です"},
        {"text file", kTextLines,
         [](FolderTest& t) { t.textLines().path.text = t.iniDir.folder() + u"missing.txt"; },
         "テキストファイルが不正です"},
        {"clipboard cannot be opened", kTextLines,
         [](FolderTest& t) {
             t.textLines().settings.source = 0;
             t.host.clipboard.reset();
         },
         "クリップボードオープンエラー\t"},
        {"empty clipboard", kTextLines,
         [](FolderTest& t) {
             t.textLines().settings.source = 0;
             t.host.clipboard = u"";
         },
         "クリップボードに文字列がありません\t"},
    };
    for (const Case& c : cases) {
        FolderTest t;
        c.set(t);
        t.session.settings.methodIndex = c.method;
        const FolderCreation job = startFolderCreation(t.session, t.host);
        ASSERT_FALSE(job.ready()) << c.label;
        EXPECT_EQ(utf8(job.message->text), c.message) << c.label;
        EXPECT_FALSE(t.session.running()) << c.label;
        EXPECT_TRUE(t.tree().empty()) << c.label;
    }
}

TEST(FolderMaker, OnlyNumberingTextAndRandomNameFolders) {
    const MethodTable methods = makeMethodTable();
    for (int index = -1; index <= 15; ++index) {
        const bool expected = index == kNumbering || index == kTextLines || index == kRandom;
        EXPECT_EQ(namesFolders(methods, index), expected) << index;
    }
}

TEST(FolderMaker, CountAsTyped) {
    struct Case {
        std::u16string_view typed;
        std::optional<std::int32_t> count;
    };
    const Case cases[] = {
        {u"1", std::nullopt},
        {u"2", 2},
        {u"16", 16},
        {u"17", std::nullopt},
        {u"0", std::nullopt},
        {u"02", 2},
        {u"", std::nullopt},
        {u"-3", std::nullopt},
        {u"x", std::nullopt},
        {u"3a", std::nullopt},
        {u"100", std::nullopt},
        {u"１", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto count = folderCount(c.typed);
        if (c.count) {
            ASSERT_TRUE(count.ok()) << utf8(c.typed);
            EXPECT_EQ(*count, *c.count);
        } else {
            ASSERT_FALSE(count.ok()) << utf8(c.typed);
            EXPECT_EQ(utf8(count.error().text), "作成個数の値が不正です。");
        }
    }
}

TEST(FolderMaker, DestinationIsAskedAndKept) {
    FolderTest t;
    t.session.settings.folderCreationParent = u"/start";
    EXPECT_FALSE(chooseFolderParent(t.session, t.host)) << "cancelled";
    t.host.folder = t.dest.folder();
    EXPECT_EQ(chooseFolderParent(t.session, t.host), t.dest.folder());
    ASSERT_EQ(t.host.folderRequests.size(), 2u);
    EXPECT_EQ(utf8(t.host.folderRequests[0].first), "フォルダの作成先を選択して下さい");
    EXPECT_EQ(utf8(t.host.folderRequests[0].second), "/start");
    EXPECT_EQ(t.session.ini.readString(u"メイン", u"フォルダ作成先", u""), t.dest.folder());

    // A parent given with trailing separators gets one.
    t.numbering().pattern.text = u"*";
    t.session.settings.methodIndex = kNumbering;
    FolderCreation job = startFolderCreation(t.session, t.host);
    const auto result = createFolders(t.session, job, t.dest.folder() + u"//", {0, 2});
    EXPECT_EQ(result.created,
              (std::vector<std::u16string>{t.dest.folder() + u"001", t.dest.folder() + u"002"}));
}

TEST(FolderMaker, LayoutKeys) {
    FolderTest t;
    EXPECT_EQ(readFolderLayout(t.session.ini).nested, 0);
    EXPECT_EQ(readFolderLayout(t.session.ini).count, 2);
    writeFolderLayout(t.session.ini, {1, 9});
    EXPECT_EQ(t.session.ini.readInt(u"フォルダ作成", u"階層", 0), 1);
    EXPECT_EQ(t.session.ini.readInt(u"フォルダ作成", u"数", 0), 9);
}

}  // namespace
}  // namespace soramine
