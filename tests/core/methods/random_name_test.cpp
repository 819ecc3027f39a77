#include "core/methods/random_name.h"

#include <sys/resource.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <set>

#include "core/app/ini_file.h"
#include "core/app/one_shot.h"
#include "core/methods/add_text.h"
#include "core/methods/method_list.h"
#include "core/settings/records.h"
#include "core/settings/settings_file.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;
using testing::utf8;

constexpr std::u16string_view kDigits = u"0123456789";
constexpr std::u16string_view kLower = u"abcdefghijklmnopqrstuvwxyz";
constexpr std::u16string_view kUpper = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";

bool allFrom(std::u16string_view text, std::u16string_view pool) {
    return text.find_first_not_of(pool) == std::u16string_view::npos;
}

struct Fixture {
    AddTextPage add;
    RandomNamePage page{add};
    RunContext run;

    std::u16string name(std::u16string_view old) { return page.transform({.name = old}, run); }
    std::optional<Message> useWords(const TempDir& dir, std::string_view content) {
        page.settings.useWords = 1;
        page.wordsFile.text = utf8Path(dir.write("words.txt", content));
        return page.validate(run);
    }
    static std::u16string utf8Path(const std::filesystem::path& p) { return p.u16string(); }
};

TEST(RandomName, CharactersFromTheChosenClassesPlusTheOldExtension) {
    struct Case {
        int count, digits, lower, upper;
        bool folderMode;
        std::u16string_view name;
        std::size_t length;  // of the random part
        std::u16string_view pool;
        std::u16string_view extension;
    };
    const std::u16string all = u"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const Case cases[] = {
        {5, 1, 1, 1, false, u"photo.jpg", 5, all, u".jpg"},
        {3, 1, 0, 0, false, u"photo.jpg", 3, kDigits, u".jpg"},
        {255, 0, 0, 1, false, u"a.tar.gz", 255, kUpper, u".gz"},
        {1, 0, 1, 0, false, u"README", 1, kLower, u""},
        {4, 1, 1, 1, false, u".profile", 4, all, u""},
        {4, 1, 1, 1, false, u".a.b", 4, all, u".b"},
        {4, 1, 1, 1, false, u"end.", 4, all, u"."},
        {6, 1, 0, 1, true, u"album.2024", 6, u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ", u""},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.page.settings = {0, c.count, c.digits, c.lower, c.upper, 0};
        f.run.env.folderMode = c.folderMode;
        const std::u16string out = f.name(c.name);
        ASSERT_EQ(out.size(), c.length + c.extension.size()) << utf8(c.name);
        EXPECT_TRUE(allFrom(out.substr(0, c.length), c.pool)) << utf8(out);
        EXPECT_EQ(out.substr(c.length), c.extension) << utf8(c.name);
    }
}

TEST(RandomName, CountsOutsideOneTo255LeaveTheName) {
    for (int count : {0, -1, 256, 65535}) {
        Fixture f;
        f.page.settings.count = count;
        EXPECT_EQ(f.name(u"photo.jpg"), u"photo.jpg") << count;
        EXPECT_EQ(f.run.log.text(), u"");
    }
}

TEST(RandomName, OneSeedGivesOneSequenceOfNames) {
    Fixture a, b;
    a.run.random.seed(2024);
    b.run.random.seed(2024);
    const std::u16string first = a.name(u"x.jpg");
    EXPECT_EQ(first, b.name(u"x.jpg"));
    EXPECT_NE(a.name(u"x.jpg"), first) << "the draws go on from item to item";
    // The same pool, in the same order, as the one-shot random rename.
    Fixture c;
    c.run.random.seed(77);
    EXPECT_EQ(c.name(u"photo.jpg"), app::randomText(5, 77) + u".jpg");
}

TEST(RandomName, EveryChosenCharacterCanBeDrawn) {
    Fixture f;
    f.page.settings = {0, 255, 1, 0, 1, 0};
    std::set<char16_t> seen;
    for (int i = 0; i < 20; ++i) {
        for (char16_t ch : f.name(u"x"))
            seen.insert(ch);
    }
    EXPECT_EQ(seen.size(), 36u);
}

TEST(RandomName, AllClassesOffFromASavedFileKeepsTheNameAndLogs) {
    Fixture f;
    f.page.settings = {0, 5, 0, 0, 0, 0};
    ASSERT_EQ(f.page.validate(f.run), std::nullopt);
    EXPECT_EQ(f.name(u"photo.jpg"), u"photo.jpg");
    EXPECT_EQ(f.run.log.text(), u"文字の種類が選択されていません - photo.jpg\r\n");
}

TEST(RandomName, AddModeInsertsWithTheAddTextPositions) {
    Fixture f;
    f.page.settings = {1, 5, 1, 0, 0, 0};
    f.add.settings = {0, 0, 0, u"1"};
    f.add.addText.text = u"ignored";
    std::u16string out = f.name(u"photo.jpg");
    ASSERT_EQ(out.size(), 14u);
    EXPECT_TRUE(allFrom(out.substr(0, 5), kDigits));
    EXPECT_EQ(out.substr(5), u"photo.jpg");
    f.add.settings = {1, 0, 0, u"1"};  // at the end, before the extension
    out = f.name(u"photo.jpg");
    EXPECT_EQ(out.substr(0, 5), u"photo");
    EXPECT_EQ(out.substr(10), u".jpg");
    EXPECT_TRUE(f.page.usesAddText());
}

TEST(RandomName, WordsAreTheLinesOfTheFile) {
    struct Case {
        const char* label;
        std::string content;
        std::vector<std::u16string> words;
    };
    const Case cases[] = {
        {"LF", "cat\ndog\n", {u"cat", u"dog"}},
        {"CR LF, last line open", "cat\r\ndog", {u"cat", u"dog"}},
        {"empty lines count", "cat\n\n\ndog\n", {u"cat", u"", u"", u"dog"}},
        {"one empty line", "\n", {u""}},
        {"lone CR stays", "a\rb\n", {u"a\rb"}},
        {"code page 932", "\x83\x81\x83\x43\x83\x93\r\n\x95\x5c\n", {u"メイン", u"表"}},
        {"undefined bytes", "a\x85\x40z\n", {u"a\u30FB@z"}},
        {"lead byte at line end", "a\x82\nb\n", {u"a\u30FB", u"b"}},
        {"UTF-16 bytes",
         std::string("a\0\n\0", 4),
         {std::u16string(u"a\0", 2), std::u16string(1, u'\0')}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        Fixture f;
        ASSERT_EQ(f.useWords(dir, c.content), std::nullopt) << c.label;
        std::vector<std::u16string> words;
        for (std::size_t i = 0; i < f.page.wordCount(); ++i)
            words.emplace_back(f.page.word(i));
        EXPECT_EQ(words, c.words) << c.label;
    }
}

TEST(RandomName, ABadWordsFileRefusesTheRun) {
    const Message refused = errorMessage(u"テキストファイルが不正です");
    TempDir dir;
    dir.makeFolder("folder.txt");
    struct Case {
        const char* label;
        std::u16string path;
    };
    const Case cases[] = {
        {"empty path", u""},
        {"missing file", dir.folder() + u"none.txt"},
        {"a folder", dir.folder() + u"folder.txt"},
        {"empty file", Fixture::utf8Path(dir.write("empty.txt", ""))},
    };
    for (const Case& c : cases) {
        Fixture f;
        TempDir words;
        ASSERT_EQ(f.useWords(words, "old\n"), std::nullopt);
        f.page.wordsFile.text = c.path;
        EXPECT_EQ(f.page.validate(f.run), refused) << c.label;
        EXPECT_EQ(f.page.wordCount(), 0u) << c.label << ": the old list is gone";
        EXPECT_EQ(f.name(u"a.jpg"), u"a.jpg") << c.label;
    }
}

TEST(RandomName, WordTextsOver255CharactersLeaveTheName) {
    struct Case {
        std::size_t wordLength;
        int count;
        bool renamed;
    };
    const Case cases[] = {{255, 1, true}, {256, 1, false},  {128, 2, false},
                          {127, 2, true}, {1000, 1, false}, {0, 255, true}};
    for (const Case& c : cases) {
        TempDir dir;
        Fixture f;
        f.page.settings.count = c.count;
        ASSERT_EQ(f.useWords(dir, std::string(c.wordLength, 'w') + "\n"), std::nullopt);
        const std::u16string out = f.name(u"a.jpg");
        const std::u16string expected =
            c.renamed ? std::u16string(c.wordLength * c.count, u'w') + u".jpg" : u"a.jpg";
        EXPECT_EQ(out, expected) << c.wordLength << " x " << c.count;
    }
}

TEST(RandomName, WordsAreDrawnFromTheWholeList) {
    TempDir dir;
    Fixture f;
    f.page.settings.count = 2;
    ASSERT_EQ(f.useWords(dir, "cat\ndog\n"), std::nullopt);
    std::set<std::u16string> seen;
    for (int i = 0; i < 200; ++i)
        seen.insert(f.name(u"photo.jpg"));
    EXPECT_EQ(seen, (std::set<std::u16string>{u"catcat.jpg", u"catdog.jpg", u"dogcat.jpg",
                                              u"dogdog.jpg"}));
}

TEST(RandomName, EmptyWordsInsertNothingInAddMode) {
    TempDir dir;
    Fixture f;
    f.page.settings.mode = 1;
    f.add.addText.text = u"add";
    ASSERT_EQ(f.useWords(dir, "\n\n"), std::nullopt);
    EXPECT_EQ(f.name(u"photo.jpg"), u"photo.jpg");
}

long maxResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A 1 GiB line costs no more memory than its first characters; a file of more words than the
// list holds is refused without being read to its end.
TEST(RandomName, HugeWordsFilesStayWithinBounds) {
    TempDir dir;
    const std::filesystem::path huge = dir.write("huge.txt");
    std::filesystem::resize_file(huge, std::uintmax_t{1} << 30);  // sparse: one line of NULs
    Fixture f;
    f.page.settings.useWords = 1;
    f.page.wordsFile.text = huge.u16string();
    const long before = maxResidentKiB();
    ASSERT_EQ(f.page.validate(f.run), std::nullopt);
    EXPECT_LT(maxResidentKiB() - before, 64 * 1024);
    ASSERT_EQ(f.page.wordCount(), 1u);
    EXPECT_EQ(f.name(u"a.jpg"), u"a.jpg");

    Fixture many;
    EXPECT_EQ(many.useWords(dir, std::string((std::size_t{1} << 22) + 1, '\n')),
              errorMessage(u"テキストファイルが不正です"));
    EXPECT_EQ(many.page.wordCount(), 0u);
    Fixture most;
    EXPECT_EQ(most.useWords(dir, std::string(std::size_t{1} << 22, '\n')), std::nullopt);
}

TEST(RandomName, BlockOfSevenRecordsOrElevenInAddMode) {
    for (const int mode : {0, 1}) {
        Fixture f;
        f.page.settings = {mode, 12, 1, 0, 1, 1};
        f.page.wordsFile.text = u"/w/語.txt";
        f.add.settings = {2, 1, 1, u"3"};
        BlockWriter out(50);
        f.page.saveBlock(out);
        const std::string bytes = out.bytes();
        const std::size_t records = mode ? 11 : 7;
        ASSERT_EQ(bytes.size(), records * 16 + 2 * 8) << mode;
        const std::uint32_t ids[] = {1180, 1174, 1175, 1176, 1177, 1212,
                                     1213, 1038, 1039, 1029, 1040};
        const std::uint32_t values[] = {static_cast<std::uint32_t>(mode),
                                        12,
                                        1,
                                        0,
                                        1,
                                        1,
                                        static_cast<std::uint32_t>(50 + 16 * records),
                                        2,
                                        1,
                                        1,
                                        3};
        for (std::size_t i = 0; i < records; ++i) {
            EXPECT_EQ(getUint32(bytes, 16 * i), ids[i]) << i;
            EXPECT_EQ(getUint32(bytes, 16 * i + 4), i == 6 ? 1u : 0u) << i;
            EXPECT_EQ(getUint32(bytes, 16 * i + 8), i == 6 ? 8u : 1u) << i;
            EXPECT_EQ(getUint32(bytes, 16 * i + 12), values[i]) << i;
        }
        EXPECT_EQ(bytes.substr(records * 16), std::string("/\0w\0/\0\x9e\x8a.\0t\0x\0t\0", 16));
    }
}

TEST(RandomName, LoadTakesTheCountFromTheLow16BitsAndTheRestByKey) {
    Fixture source;
    source.page.settings = {1, 7, 0, 1, 0, 1};
    source.page.wordsFile.text = u"w.txt";
    source.add.settings = {1, 1, 0, u"2"};
    BlockWriter out(50);
    source.page.saveBlock(out);
    std::string file = std::string(50, '\0') + out.bytes();
    putUint32(file, 50 + 16 + 12, 0x00030007);  // an error flag in the high word

    for (const std::size_t records : {7u, 10u, 11u}) {
        Fixture back;
        BlockReader in(file, 50, 50 + 16 * records);
        const bool whole = records == 11;
        EXPECT_EQ(back.page.loadBlock(in), whole) << records;
        EXPECT_EQ(back.page.settings.count, whole ? 7 : 5) << records;
        EXPECT_EQ(back.page.settings.mode, whole ? 1 : 0) << records;
        EXPECT_EQ(back.page.wordsFile.text, whole ? u"w.txt" : u"Sample.txt") << records;
        EXPECT_EQ(back.add.settings.where, whole ? 1 : 0) << records;
        EXPECT_EQ(back.add.settings.offset, whole ? u"2" : u"1") << records;
    }
}

TEST(RandomName, SavedAndLoadedThroughTheSettingsFile) {
    TempDir dir;
    const std::u16string path = dir.folder() + u"乱数.qrn";
    MethodTable source = makeMethodTable();
    auto* page = dynamic_cast<RandomNamePage*>(source.page(10));
    ASSERT_NE(page, nullptr);
    page->settings = {0, 200, 0, 0, 1, 0};
    page->wordsFile.text = u"";
    MainSettings options = defaultMainSettings();
    options.methodIndex = 10;
    ASSERT_EQ(saveSettingsFile(path, options, u"/f/", u"*", *page), std::nullopt);

    MethodTable target = makeMethodTable();
    auto loaded = loadSettingsFile(path, target.size(), [&](int i) { return target.page(i); });
    ASSERT_TRUE(loaded);
    auto* back = dynamic_cast<RandomNamePage*>(target.page(10));
    EXPECT_EQ(back->settings.mode, 0);
    EXPECT_EQ(back->settings.count, 200);
    EXPECT_EQ(back->settings.digits, 0);
    EXPECT_EQ(back->settings.lowerCase, 0);
    EXPECT_EQ(back->settings.upperCase, 1);
    EXPECT_EQ(back->settings.useWords, 0);
    EXPECT_EQ(back->wordsFile.text, u"") << "an empty text loads empty";
}

// Written and read against the settings file's own text, so that a wrong key name fails.
TEST(RandomName, IniKeysRoundTrip) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    Fixture f;
    EXPECT_EQ(f.page.settings.count, 5);
    f.page.settings = {1, 9, 0, 1, 0, 1};
    f.page.writeIni(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"),
              "[ランダム]\r\n方法=1\r\n文字数=9\r\n数字=0\r\n小文字=1\r\n大文字=0\r\n文字列=1\r\n");
    dir.write("ソラミネ.ini", "[ランダム]\r\n文字数=200\r\n数字=0\r\n");
    Fixture back;
    back.page.readIni(ini);
    EXPECT_EQ(back.page.settings.count, 200);
    EXPECT_EQ(back.page.settings.digits, 0);
    EXPECT_EQ(back.page.settings.lowerCase, 1);
    EXPECT_EQ(back.page.settings.useWords, 0);
}

}  // namespace
}  // namespace soramine
