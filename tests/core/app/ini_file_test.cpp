#include "core/app/ini_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "core/text/cp932.h"
#include "core/text/utf.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;
using testing::utf8;

IniFile iniIn(const TempDir& dir) {
    return IniFile(dir.folder() + u"ソラミネ.ini");
}

std::string utf16LeWithBom(std::u16string_view text) {
    std::string out = "\xFF\xFE";
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

TEST(IniFile, EveryValueKindReadsBackAsWritten) {
    TempDir dir;
    IniFile ini = iniIn(dir);
    std::vector<std::uint8_t> placement(44);
    for (size_t i = 0; i < placement.size(); ++i)
        placement[i] = static_cast<std::uint8_t>(i * 37 + 5);
    const std::vector<std::u16string> texts = {
        u"ＭＳ ゴシック", u"", u"  padded  ", u"\"quoted\"", u"a=b;c", u"\"", u"x\"",
    };
    ini.writeInt(u"詳細設定", u"コンボマックス", INT_MIN);
    ini.writeInt(u"詳細設定", u"チップ", INT_MAX);
    for (size_t i = 0; i < texts.size(); ++i)
        ini.writeString(u"置換", u"文字" + std::u16string(1, u'0' + i), texts[i]);
    ini.writeBinary(u"ウインドウ", u"WindowSize", placement);

    EXPECT_EQ(ini.readInt(u"詳細設定", u"コンボマックス", 0), INT_MIN);
    EXPECT_EQ(ini.readInt(u"詳細設定", u"チップ", 0), INT_MAX);
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(utf8(ini.readString(u"置換", u"文字" + std::u16string(1, u'0' + i), u"?")),
                  utf8(texts[i]));
    }
    EXPECT_EQ(ini.readBinary(u"ウインドウ", u"WindowSize"), placement);
    // A new file is UTF-8 without a byte-order mark, in CRLF lines.
    const std::string bytes = dir.read("ソラミネ.ini");
    EXPECT_TRUE(bytes.starts_with("[詳細設定]\r\nコンボマックス=-2147483648\r\n")) << bytes;
}

TEST(IniFile, ReadsValuesAsTheProfileFunctionsDo) {
    struct Case {
        std::string line;
        std::int32_t number;  // readInt with the default 7
        std::string text;     // readString
    };
    const Case cases[] = {
        {"k=12", 12, "12"},
        {"k= -5 ", -5, "-5"},
        {"k=+3", 3, "+3"},
        {"k=12abc", 12, "12abc"},
        {"k=abc", 7, "abc"},
        {"k=-", 7, "-"},
        {"k=", 7, ""},
        {"k=\"42\"", 42, "42"},
        {"k=99999999999", INT_MAX, "99999999999"},
        {"K = \t\"a b\"  ", 7, "a b"},
        {"k=\"half", 7, "\"half"},
        {"k=a=b", 7, "a=b"},
        {";k=1", 7, "none"},
        {"k", 7, "none"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("ソラミネ.ini",
                  "[Other]\r\nk=0\r\n[Sec]\r\n" + c.line + "\r\n[Third]\r\nk=1\r\n");
        IniFile ini = iniIn(dir);
        EXPECT_EQ(ini.readInt(u"sEC", u"k", 7), c.number) << c.line;
        EXPECT_EQ(utf8(ini.readString(u"SEC", u"K", u"none")), c.text) << c.line;
    }
}

TEST(IniFile, BinaryDecodesOnlyWellFormedLetters) {
    struct Case {
        std::string value;
        std::optional<std::vector<std::uint8_t>> bytes;
    };
    const Case cases[] = {
        {"AAPPBA", std::vector<std::uint8_t>{0x00, 0xFF, 0x01}},
        {"", std::vector<std::uint8_t>{}},
        {"AAP", std::nullopt},  // odd length
        {"AQ", std::nullopt},   // letter after P
        {"aa", std::nullopt},   // small letters
        {"A@", std::nullopt},   // before A
        {"\"BA\"", std::vector<std::uint8_t>{0x01}},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("ソラミネ.ini", "[ウインドウ]\nLogWindow=" + c.value + "\n");
        EXPECT_EQ(iniIn(dir).readBinary(u"ウインドウ", u"LogWindow"), c.bytes) << c.value;
    }
    TempDir dir;
    EXPECT_EQ(iniIn(dir).readBinary(u"ウインドウ", u"LogWindow"), std::nullopt);
}

TEST(IniFile, WritingChangesOnlyTheKeysLine) {
    const std::string original =
        "; settings\r\n"
        "[メイン]\r\n"
        "選択項目=0\r\n"
        "; the last folder\r\n"
        "移動先=/home\r\n"
        "\r\n"
        "; next section\r\n"
        "[詳細設定]\r\n"
        "ログ=1\r\n";
    struct Case {
        const char* what;
        std::u16string section, key;
        std::optional<std::u16string> value;
        std::string expected;
    };
    const Case cases[] = {
        {"replace in place", u"メイン", u"移動先", u"/tmp",
         "; settings\r\n[メイン]\r\n選択項目=0\r\n; the last folder\r\n移動先=/tmp\r\n\r\n"
         "; next section\r\n[詳細設定]\r\nログ=1\r\n"},
        {"append after the last key", u"メイン", u"コピー", u"1",
         "; settings\r\n[メイン]\r\n選択項目=0\r\n; the last folder\r\n移動先=/home\r\nコピー=1\r\n"
         "\r\n; next section\r\n[詳細設定]\r\nログ=1\r\n"},
        {"append a section", u"リスト", u"ファイル名", u"195",
         original + "[リスト]\r\nファイル名=195\r\n"},
        {"delete", u"メイン", u"選択項目", std::nullopt,
         "; settings\r\n[メイン]\r\n; the last folder\r\n移動先=/home\r\n\r\n"
         "; next section\r\n[詳細設定]\r\nログ=1\r\n"},
        {"delete a missing key", u"メイン", u"コピー", std::nullopt, original},
        {"line break cannot start a line", u"詳細設定", u"ログ", u"2\r\n[メイン]\n選択項目=1",
         "; settings\r\n[メイン]\r\n選択項目=0\r\n; the last folder\r\n移動先=/home\r\n\r\n"
         "; next section\r\n[詳細設定]\r\nログ=2[メイン]選択項目=1\r\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("ソラミネ.ini", original);
        IniFile ini = iniIn(dir);
        ini.writeString(c.section, c.key, c.value);
        EXPECT_EQ(dir.read("ソラミネ.ini"), c.expected) << c.what;
    }
}

TEST(IniFile, DeletingFromAMissingFileCreatesNone) {
    TempDir dir;
    IniFile ini = iniIn(dir);
    ini.deleteKey(u"ウインドウ", u"LEFT");
    EXPECT_FALSE(dir.exists("ソラミネ.ini"));
    EXPECT_EQ(ini.readInt(u"メイン", u"リネーム方式", 3), 3);
    EXPECT_EQ(utf8(ini.readString(u"メイン", u"移動先", u"/")), "/");
}

TEST(IniFile, Utf16FileStaysUtf16) {
    TempDir dir;
    dir.write("ソラミネ.ini", utf16LeWithBom(u"[メイン]\r\n移動先=/データ\r\n"));
    IniFile ini = iniIn(dir);
    EXPECT_EQ(utf8(ini.readString(u"メイン", u"移動先", u"")), "/データ");
    ini.writeInt(u"メイン", u"コピー", 1);
    EXPECT_EQ(dir.read("ソラミネ.ini"),
              utf16LeWithBom(u"[メイン]\r\n移動先=/データ\r\nコピー=1\r\n"));
}

TEST(IniFile, Utf8FileWithByteOrderMarkKeepsIt) {
    TempDir dir;
    dir.write("ソラミネ.ini", "\xEF\xBB\xBF[メイン]\nコピー=1\n");
    IniFile ini = iniIn(dir);
    EXPECT_EQ(ini.readInt(u"メイン", u"コピー", 0), 1);
    ini.writeInt(u"メイン", u"コピー", 0);
    EXPECT_EQ(dir.read("ソラミネ.ini"), "\xEF\xBB\xBF[メイン]\r\nコピー=0\r\n");
}

TEST(IniFile, Cp932FileStaysCp932UntilACharacterWouldBeLost) {
    TempDir dir;
    dir.write("ソラミネ.ini", text::toCp932(u"[メイン]\r\n移動先=/写真\r\n"));
    IniFile ini = iniIn(dir);
    EXPECT_EQ(utf8(ini.readString(u"メイン", u"移動先", u"")), "/写真");

    ini.writeString(u"メイン", u"フォルダ作成先", u"/音楽");
    EXPECT_EQ(dir.read("ソラミネ.ini"),
              text::toCp932(u"[メイン]\r\n移動先=/写真\r\nフォルダ作成先=/音楽\r\n"));

    ini.writeString(u"メイン", u"フォルダ作成先", u"/한국");
    EXPECT_EQ(dir.read("ソラミネ.ini"), "[メイン]\r\n移動先=/写真\r\nフォルダ作成先=/한국\r\n");
    EXPECT_EQ(utf8(ini.readString(u"メイン", u"フォルダ作成先", u"")), "/한국");
}

TEST(IniFile, UndecodableFileNameBytesSurviveTheFile) {
    TempDir dir;
    IniFile ini = iniIn(dir);
    const std::u16string folder = text::fromUtf8("/data/\xff\xfe/");
    ini.writeString(u"メイン", u"移動先", folder);
    ini.writeInt(u"メイン", u"コピー", 1);
    EXPECT_EQ(ini.readString(u"メイン", u"移動先", u""), folder);
    EXPECT_EQ(ini.readInt(u"メイン", u"コピー", 0), 1);
}

TEST(IniFile, DamagedFilesGiveDefaults) {
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7919) & 0xFF);
    const std::string files[] = {
        binary,
        std::string("\xFF\xFE[\0", 4) + "\x01",  // UTF-16LE with an odd byte
        "[メイン\n=1\n選択項目\n[]\n==\n",
        std::string(10000, '['),
        std::string("\0\0\0\0", 4),
    };
    for (const auto& bytes : files) {
        TempDir dir;
        dir.write("ソラミネ.ini", bytes);
        IniFile ini = iniIn(dir);
        EXPECT_EQ(ini.readInt(u"メイン", u"選択項目", 5), 5);
        EXPECT_EQ(ini.readBinary(u"ウインドウ", u"WindowSize"), std::nullopt);
        ini.writeInt(u"メイン", u"選択項目", 1);
        EXPECT_EQ(ini.readInt(u"メイン", u"選択項目", 5), 1);
    }
}

}  // namespace
}  // namespace soramine
