#include "core/methods/text_lines.h"

#include <gtest/gtest.h>

#include "core/app/ini_file.h"
#include "core/engine/engine_fixture.h"
#include "core/engine/preview.h"
#include "core/engine/session.h"
#include "core/methods/add_text.h"
#include "core/methods/method_list.h"
#include "core/settings/records.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;
using testing::utf8;
using Problem = TextLine::Problem;

std::string lineTexts(const std::vector<TextLine>& lines) {
    std::string out;
    for (const TextLine& line : lines) {
        out += "[" + utf8(line.text) + "]";
        if (line.problem == Problem::kNotCp932)
            out += "!932";
        if (line.problem == Problem::kTooLong)
            out += "!long";
    }
    return out;
}

TEST(TextLines, FileLines) {
    struct Case {
        std::string_view label;
        std::string bytes;
        std::size_t maxLines;
        std::string expected;
    };
    const Case cases[] = {
        {"LF", "a\nb\n", 10, "[a][b]"},
        {"CR LF", "a\r\nb\r\n", 10, "[a][b]"},
        {"last line unterminated", "a\nb", 10, "[a][b]"},
        {"empty lines count", "a\n\n\nb\n", 10, "[a][][][b]"},
        {"a last empty line", "a\n\n", 10, "[a][]"},
        {"a lone CR stays", "a\rb\n", 10, "[a\rb]"},
        {"code page 932", "\x82\xA0\x8A\xBF\r\n\xB1", 10, "[あ漢][ｱ]"},
        {"stops at the lines wanted", "a\nb\nc\n", 2, "[a][b]"},
        {"bytes 932 does not define", "ok\n\x82\n\xFFz\nok\n", 10, "[ok][]!932[]!932[ok]"},
        {"a UTF-8 file", "\xE3\x81\x82\xE3\x81\x84\n", 10, "[]!932"},
        {"an over-long line", "a\n" + std::string(kLongestReadLine + 1, 'x') + "\nb", 10,
         "[a][]!long[b]"},
        {"over-long in the last line", std::string(200000, 'x'), 10, "[]!long"},
        {"the longest kept line", std::string(kLongestReadLine, 'y') + "\n", 1,
         "[" + std::string(kLongestReadLine, 'y') + "]"},
        {"lines across blocks", std::string(70000, '\n') + "z", 70001,
         [] {
             std::string s;
             for (int i = 0; i < 70000; ++i)
                 s += "[]";
             return s + "[z]";
         }()},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("names.txt", c.bytes);
        testing::FakeHost host;
        const std::u16string path = dir.folder() + u"names.txt";
        const auto lines = readLines({false, path}, host, c.maxLines);
        ASSERT_TRUE(lines.ok()) << c.label;
        EXPECT_EQ(lineTexts(*lines), c.expected) << c.label;
    }
}

TEST(TextLines, FileThatGivesNoLines) {
    TempDir dir;
    dir.write("empty.txt", "");
    dir.makeFolder("folder.txt");
    testing::FakeHost host;
    for (const std::u16string& path : {dir.folder() + u"empty.txt", dir.folder() + u"folder.txt",
                                       dir.folder() + u"missing.txt", std::u16string()}) {
        const auto lines = readLines({false, path}, host, 5);
        ASSERT_FALSE(lines.ok()) << utf8(path);
        EXPECT_EQ(lines.error(), errorMessage(u"テキストファイルが不正です")) << utf8(path);
    }
}

TEST(TextLines, ClipboardLines) {
    struct Case {
        std::u16string_view text;
        std::string expected;
    };
    const Case cases[] = {
        {u"a\r\nb\r\n\r\n", "[a][b]"}, {u"a\nb", "[a\nb]"}, {u"a\r\n\r\nb", "[a][][b]"},
        {u"a\rb\n\r", "[a\rb]"},       {u"\r\n\r\n", "[]"}, {u"x", "[x]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lineTexts(clipboardLines(c.text)), c.expected) << utf8(c.text);
}

TEST(TextLines, ClipboardMessages) {
    testing::FakeHost host;
    host.clipboard = std::nullopt;
    EXPECT_EQ(readLines({true, {}}, host, 5).error(),
              errorMessage(u"クリップボードオープンエラー　　　"));
    host.clipboard = u"";
    EXPECT_EQ(readLines({true, {}}, host, 5).error(),
              errorMessage(u"クリップボードに文字列がありません　　　"));
    host.clipboard = u"a\r\nb\r\nc";
    EXPECT_EQ(lineTexts(*readLines({true, {}}, host, 2)), "[a][b]");
}

TEST(TextLines, TransformsNames) {
    struct Case {
        std::u16string_view name;
        std::u16string_view line;
        bool withExtension;
        bool folderMode;
        bool fullWidth;
        std::u16string_view expected;
        std::u16string_view log;
    };
    const std::u16string line250(250, u'a');
    const std::u16string line251(251, u'a');
    const Case cases[] = {
        {u"photo.jpg", u"new", false, false, false, u"new.jpg", u""},
        {u"photo.jpg", u"new", true, false, false, u"new", u""},
        {u"photo.jpg", u"new", false, true, false, u"new", u""},
        {u"README", u"new", false, false, false, u"new", u""},
        {u".profile", u"new", false, false, false, u"new", u""},
        {u"a.tar.gz", u"new", false, false, false, u"new.gz", u""},
        {u"photo.jpg", u"", false, false, false, u"photo.jpg", u""},
        {u"photo.jpg", line250, true, false, false, line250, u""},
        {u"photo.jpg", line251, true, false, false, u"photo.jpg", u""},
        {u"a", u"x:y", false, false, false, u"xy",
         u"ファイル名に \"/ ? * \" < > | \\ : \" は使えません - x:y\r\n"},
        {u"a", u"x:y", false, false, true, u"x：y", u""},
        {u"a", u"a\tb\\c\"", false, false, true, u"a b￥c”", u""},
        {u"a.txt", u"::", false, false, false, u"a.txt",
         u"ファイル名に \"/ ? * \" < > | \\ : \" は使えません - ::\r\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("line.txt", utf8(c.line) + "\n");
        AddTextPage add;
        TextLinesPage page(add);
        page.settings.withExtension = c.withExtension;
        page.path.text = dir.folder() + u"line.txt";
        const ItemTable table;
        testing::FakeHost host;
        RunContext run{{c.folderMode, c.fullWidth}};
        std::size_t runCount = 1;
        ASSERT_FALSE(page.prepare({table, {}}, run.env, host, runCount).has_value());
        EXPECT_EQ(utf8(page.transform({.name = c.name}, run)), utf8(c.expected)) << utf8(c.line);
        EXPECT_EQ(utf8(run.log.text()), utf8(c.log)) << utf8(c.line);
    }
}

// A session of the product's methods on "テキスト" over items in `dir`.
struct TextRun {
    explicit TextRun(std::initializer_list<std::u16string_view> names)
        : session(IniFile(ini.folder() + u"ソラミネ.ini"), makeMethodTable()),
          page(dynamic_cast<TextLinesPage&>(*session.methods.page(8))) {
        session.settings.methodIndex = 8;
        (void)session.changeItems([&](ItemTable& t) {
            for (auto name : names) {
                Row row;
                row.name = name;
                row.folder = dir.folder();
                t.append(std::move(row));
            }
        });
    }
    PreviewResult preview() {
        QuietObserver quiet;
        return previewRun(session, host, quiet);
    }

    TempDir ini;
    TempDir dir;
    RenameSession session;
    TextLinesPage& page;
    testing::FakeHost host;
};

std::string joined(const std::vector<std::u16string>& names) {
    std::string out;
    for (const auto& n : names)
        out += utf8(n) + "|";
    return out;
}

TEST(TextLines, RunCountIsLoweredToTheLines) {
    TextRun run({u"1.jpg", u"2.jpg", u"3.jpg", u"4.jpg", u"5.jpg"});
    run.dir.write("names.txt", "a\n\nc\n");
    run.page.path.text = run.dir.folder() + u"names.txt";
    EXPECT_EQ(joined(run.preview().previewNew), "a.jpg|変更無し|c.jpg|");

    // The selected items take the lines in list order.
    run.session.settings.selectedOnly = 1;
    (void)run.session.setSelection({1, 3});
    EXPECT_EQ(joined(run.preview().previewNew), "a.jpg|変更無し|");
}

TEST(TextLines, PreparationStopsTheRunWithItsMessage) {
    TextRun run({u"1.jpg"});
    run.page.path.text = run.dir.folder() + u"missing.txt";
    EXPECT_EQ(run.preview().message, errorMessage(u"テキストファイルが不正です"));
    run.page.settings.source = 0;
    run.host.clipboard = u"";
    EXPECT_EQ(run.preview().message, errorMessage(u"クリップボードに文字列がありません　　　"));
    run.host.clipboard = u"x\r\n";
    EXPECT_EQ(joined(run.preview().previewNew), "x.jpg|");
}

TEST(TextLines, AddModeInsertsTheLine) {
    TextRun run({u"photo.jpg", u"b.png"});
    AddTextPage& add = dynamic_cast<AddTextPage&>(*run.session.methods.page(2));
    add.settings = {1, 0, 0, u"1"};
    run.page.settings = {0, 0, 1, 0, 1, 0, 0, 0};
    run.host.clipboard = u"_x\\\r\nq:";
    EXPECT_TRUE(run.page.usesAddText());
    EXPECT_EQ(
        joined(run.preview().previewNew),
        "ファイル名に \"/ ? * \" < > | \\ : \" は使えません|ファイル名に \"/ ? * \" < > | \\ : "
        "\" は使えません|");
    run.session.detail.fullWidthForbidden = 1;
    EXPECT_EQ(joined(run.preview().previewNew), "photo_x￥.jpg|bq：.png|");
}

TEST(TextLines, LinesNotInCodePage932AreLoggedNotUsed) {
    TextRun run({u"1.jpg", u"2.jpg"});
    run.dir.write("names.txt", "\xE3\x81\x82\xE3\x81\x84\nok\n");
    run.page.path.text = run.dir.folder() + u"names.txt";
    EXPECT_EQ(joined(run.preview().previewNew), "テキストの文字コードが不正です(1行目)|ok.jpg|");
}

TEST(TextLines, ListExport) {
    ItemTable items;
    for (auto name : {u"a.tar.gz", u".hidden", u"README", u"photo.jpg"}) {
        Row row;
        row.name = name;
        row.folder = u"/d/";
        items.append(std::move(row));
    }
    const std::vector<std::size_t> all{0, 1, 2, 3};
    struct Case {
        int extension;
        int fullPath;
        bool folderMode;
        std::vector<std::size_t> rows;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {1, 0, false, all, u"a.tar.gz\r\n.hidden\r\nREADME\r\nphoto.jpg\r\n"},
        {0, 0, false, all, u"a.tar\r\n\r\nREADME\r\nphoto\r\n"},
        {0, 0, true, all, u"a.tar.gz\r\n.hidden\r\nREADME\r\nphoto.jpg\r\n"},
        {0, 1, false, {1, 3}, u"/d/\r\n/d/photo\r\n"},
        {1, 0, false, {}, u""},
    };
    for (const Case& c : cases) {
        TextLinesSettings s{1, 0, 0, 0, c.extension, c.fullPath, 0, 0};
        EXPECT_EQ(utf8(listExportText(items, c.rows, s, c.folderMode)), utf8(c.expected));
    }
    EXPECT_EQ(listExportBytes(u"あa\r\n", false),
              "\x82\xA0"
              "a\r\n");
    EXPECT_EQ(listExportBytes(u"あa\r\n", true), std::string("\xFF\xFE\x42\x30"
                                                             "a\0\r\0\n\0",
                                                             10));
    EXPECT_EQ(listExportBytes(u"😀", false), "?");
}

TEST(TextLines, DroppedFiles) {
    TempDir dir;
    dir.write("a.TXT");
    dir.write("b.text");
    dir.write("c.txt.bak");
    dir.makeFolder("d.txt");
    dir.write("e");
    struct Case {
        std::u16string_view name;
        bool taken;
    };
    const Case cases[] = {{u"a.TXT", true},  {u"b.text", true}, {u"c.txt.bak", false},
                          {u"d.txt", false}, {u"e", false},     {u"missing.txt", false}};
    for (const Case& c : cases)
        EXPECT_EQ(isDroppableTextFile(dir.folder() + std::u16string(c.name)), c.taken)
            << utf8(c.name);
}

TEST(TextLines, BlockOfNineRecordsOrThirteenWithAddMode) {
    AddTextPage add;
    TextLinesPage page(add);
    page.settings = {0, 1, 0, 1, 0, 1, 1, 1};
    page.path.text = u"/t/名.txt";
    BlockWriter out(40);
    page.saveBlock(out);
    std::string expected;
    const std::uint32_t records[9][4] = {
        {1202, 0, 1, 0}, {1152, 1, 8, 40 + 144}, {1153, 0, 1, 1}, {1200, 0, 1, 0}, {1156, 0, 1, 1},
        {1157, 0, 1, 0}, {1194, 0, 1, 1},        {1195, 0, 1, 1}, {1233, 0, 1, 1},
    };
    for (const auto& r : records) {
        for (std::uint32_t v : r)
            appendUint32(expected, v);
    }
    for (char16_t c : page.path.text)
        appendUint16(expected, c);
    EXPECT_EQ(out.bytes(), expected);

    const std::string file = std::string(40, '\0') + out.bytes();
    BlockReader in(file, 40, file.size());
    AddTextPage backAdd;
    TextLinesPage back(backAdd);
    ASSERT_TRUE(back.loadBlock(in));
    EXPECT_EQ(back.settings.source, 0);
    EXPECT_EQ(back.settings.withExtension, 1);
    EXPECT_EQ(back.settings.exportExtension, 0);
    EXPECT_EQ(back.settings.exportUnicode, 1);
    EXPECT_EQ(back.path.text, u"/t/名.txt");

    page.settings.add = 1;
    add.settings = {2, 0, 1, u"4"};
    BlockWriter withAdd(40);
    page.saveBlock(withAdd);
    EXPECT_EQ(withAdd.recordCount(), 13u);
    EXPECT_EQ(getUint32(withAdd.bytes(), 16 + 12), 40u + 13 * 16);
    const std::string addFile = std::string(40, '\0') + withAdd.bytes();
    BlockReader addIn(addFile, 40, addFile.size());
    ASSERT_TRUE(back.loadBlock(addIn));
    EXPECT_EQ(back.settings.add, 1);
    EXPECT_EQ(backAdd.settings.where, 2);
    EXPECT_EQ(backAdd.settings.offset, u"4");
}

TEST(TextLines, IniKeysRoundTrip) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    AddTextPage add;
    TextLinesPage page(add);
    EXPECT_EQ(page.settings.source, 1);
    EXPECT_EQ(page.settings.exportExtension, 1);
    EXPECT_EQ(page.path.text, u"Sample.txt");
    page.settings = {0, 1, 1, 0, 0, 1, 0, 1};
    page.writeIni(ini);
    EXPECT_EQ(
        dir.read("ソラミネ.ini"),
        "[テキスト]\r\n元テキスト=0\r\n拡張子=1\r\n追加=1\r\n選択=0\r\n含める=0\r\nフルパス=1\r\n"
        "クリップボード=0\r\nUnicode=1\r\n");
    TextLinesPage back(add);
    back.readIni(ini);
    EXPECT_EQ(back.settings.source, 0);
    EXPECT_EQ(back.settings.exportUnicode, 1);
}

}  // namespace
}  // namespace soramine
