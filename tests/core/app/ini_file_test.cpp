#include "core/app/ini_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <functional>
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
    EXPECT_EQ(dir.read("ソラミネ.ini"), "\xEF\xBB\xBF[メイン]\nコピー=0\n");
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

TEST(IniFile, KeepsEveryLineItDoesNotChangeByteForByte) {
    struct Case {
        const char* what;
        std::string original;
        std::u16string section, key, value;
        std::string expected;
    };
    // Code page 932 bytes that decode to nothing ("・"): an unassigned lead byte, a lead byte
    // with no second byte before the line feed, a byte no character starts with.
    const std::string undecodable = "\x85\x40;\x81\n" + text::toCp932(u"ソート=1") + "\n\xFF\xA0\n";
    const Case cases[] = {
        {"code page 932 with undecodable bytes", text::toCp932(u"[詳細設定]\n") + undecodable,
         u"詳細設定", u"ログ", u"1",
         text::toCp932(u"[詳細設定]\n") + "\x85\x40;\x81\n" + text::toCp932(u"ソート=1\n") +
             text::toCp932(u"ログ=1\n") + "\xFF\xA0\n"},
        {"UTF-16 with an odd last byte", utf16LeWithBom(u"[メイン]\r\nコピー=1\r\n") + "\x01",
         u"メイン", u"コピー", u"0", utf16LeWithBom(u"[メイン]\r\nコピー=0\r\n") + "\x01"},
        {"mixed line ends, last line without one", "[メイン]\nコピー=1\r\n; note", u"詳細設定",
         u"ログ", u"1", "[メイン]\nコピー=1\r\n; note\n[詳細設定]\nログ=1\n"},
        {"replaced line keeps its own line end", "[a]\r\nk=1\nj=2\r\n", u"A", u"K", u"3",
         "[a]\r\nK=3\nj=2\r\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("ソラミネ.ini", c.original);
        IniFile ini = iniIn(dir);
        ini.writeString(c.section, c.key, c.value);
        EXPECT_EQ(dir.read("ソラミネ.ini"), c.expected) << c.what;
    }
    TempDir dir;
    dir.write("ソラミネ.ini", text::toCp932(u"[詳細設定]\n") + undecodable);
    IniFile ini = iniIn(dir);
    EXPECT_EQ(ini.readInt(u"詳細設定", u"ソート", 0), 1);
    // A character code page 932 cannot hold, where the file cannot become UTF-8 without
    // losing bytes, becomes the replacement character in its own line only.
    ini.writeString(u"詳細設定", u"フォント名", u"한");
    EXPECT_EQ(dir.read("ソラミネ.ini"), text::toCp932(u"[詳細設定]\n") + "\x85\x40;\x81\n" +
                                            text::toCp932(u"ソート=1\n") +
                                            text::toCp932(u"フォント名=?\n") + "\xFF\xA0\n");
}

TEST(IniFile, WritesThroughASymbolicLink) {
    TempDir dir;
    dir.write("real/settings.ini", "[メイン]\r\nコピー=1\r\n");
    std::filesystem::create_symlink("real/settings.ini", dir.path() / "ソラミネ.ini");
    IniFile ini = iniIn(dir);
    ini.writeInt(u"メイン", u"コピー", 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "ソラミネ.ini"));
    EXPECT_EQ(dir.read("real/settings.ini"), "[メイン]\r\nコピー=0\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "real"), {}), 1);
    EXPECT_EQ(ini.readInt(u"メイン", u"コピー", 5), 0);
}

TEST(IniFile, NeitherReadsNorWritesAFileOthersControl) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> spoil;  // given the INI file's path
        bool needsRoot;  // only root can give a file to another user
    };
    const Case cases[] = {
        {"group can write", [](const auto& p) { ::chmod(p.c_str(), 0664); }, false},
        {"others can write", [](const auto& p) { ::chmod(p.c_str(), 0646); }, false},
        {"another user's file", [](const auto& p) { (void)::chown(p.c_str(), 65534, 65534); },
         true},
        {"another user's link",
         [](const auto& p) {
             std::filesystem::rename(p, p.string() + ".real");
             std::filesystem::create_symlink(p.filename().string() + ".real", p);
             (void)::lchown(p.c_str(), 65534, 65534);
         },
         true},
    };
    for (const auto& c : cases) {
        if (c.needsRoot && ::geteuid() != 0)
            continue;
        TempDir dir;
        const auto path = dir.write("ソラミネ.ini", "[メイン]\r\nコピー=1\r\n");
        c.spoil(path);
        IniFile ini = iniIn(dir);
        EXPECT_EQ(ini.readInt(u"メイン", u"コピー", 5), 5) << c.what;
        ini.writeInt(u"メイン", u"コピー", 0);
        EXPECT_EQ(dir.read("ソラミネ.ini"), "[メイン]\r\nコピー=1\r\n") << c.what;
    }
}

TEST(IniFile, EachReadSeesTheFileAsItIsNow) {
    struct Case {
        const char* what;
        std::function<void(const TempDir&)> change;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"rewritten in place, same size",
         [](const TempDir& d) { d.write("ソラミネ.ini", "[a]\nk=2\n"); }, 2},
        {"replaced by another file",
         [](const TempDir& d) {
             d.write("new.ini", "[a]\nk=30\n");
             std::filesystem::rename(d.path() / "new.ini", d.path() / "ソラミネ.ini");
         },
         30},
        {"removed", [](const TempDir& d) { std::filesystem::remove(d.path() / "ソラミネ.ini"); },
         7},
    };
    for (const auto& c : cases) {
        TempDir dir;
        dir.write("ソラミネ.ini", "[a]\nk=1\n");
        IniFile ini = iniIn(dir);
        EXPECT_EQ(ini.readInt(u"a", u"k", 7), 1) << c.what;
        c.change(dir);
        EXPECT_EQ(ini.readInt(u"a", u"k", 7), c.expected) << c.what;
    }
}

TEST(IniFile, ABatchWritesOnceAtItsEnd) {
    TempDir dir;
    dir.write("ソラミネ.ini", "[a]\r\nk=1\r\n");
    IniFile ini = iniIn(dir);
    {
        IniFile::Batch batch(ini);
        ini.writeInt(u"a", u"k", 2);
        ini.writeInt(u"b", u"j", 3);
        EXPECT_EQ(ini.readInt(u"b", u"j", 0), 3);
        EXPECT_EQ(dir.read("ソラミネ.ini"), "[a]\r\nk=1\r\n");
    }
    EXPECT_EQ(dir.read("ソラミネ.ini"), "[a]\r\nk=2\r\n[b]\r\nj=3\r\n");
}

TEST(IniFile, ALargeFileIsParsedOncePerChange) {
    TempDir dir;
    std::string big = "[詳細設定]\r\n";
    for (int i = 0; big.size() < (2u << 20); ++i)
        big += "filler" + std::to_string(i) + "=some value that takes room\r\n";
    big += "ソート=1\r\n";
    const auto path = dir.write("ソラミネ.ini", big);
    // A file changed a second ago (with the fraction of a second the file system keeps): one
    // changed this very moment is read again at every read.
    std::filesystem::last_write_time(
        path, std::filesystem::last_write_time(path) - std::chrono::seconds(1));
    IniFile ini = iniIn(dir);
    // Timed against the first read, which parses the file, whatever the machine's speed: the
    // reads after it only look the keys up.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(ini.readInt(u"詳細設定", u"ソート", 0), 1);
    const auto parsed = std::chrono::steady_clock::now();
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(ini.readInt(u"詳細設定", u"ソート", 0), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - parsed, parsed - start);
}

}  // namespace
}  // namespace soramine
