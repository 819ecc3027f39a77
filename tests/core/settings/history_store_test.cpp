#include "core/settings/history_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/platform/fs.h"
#include "core/text/cp932.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;

std::string countBytes(std::uint32_t n) {
    return {static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF),
            static_cast<char>((n >> 16) & 0xFF), static_cast<char>(n >> 24)};
}

std::string store(std::uint32_t count, std::u16string_view records) {
    return countBytes(count) + text::toCp932(records);
}

TEST(HistoryStore, MapReadsBackFromTheFile) {
    TempDir dir;
    const std::u16string path = dir.folder() + u"String.db";
    const HistoryMap map = {
        {u"メインフォルダ名0", u"/home/写真/"},
        {u"メインフォルダ名1", u"/tmp/"},
        {u"メイン拡張子0", u""},
        {u"日時形式0", u"YYYY年MM月DD日、hh時mm分ss秒"},
    };
    saveHistoryStore(path, map);
    EXPECT_EQ(loadHistoryStore(path), map);
    // The count, then the records in the map's order, in code page 932.
    EXPECT_EQ(dir.read("String.db"),
              store(4,
                    u"メインフォルダ名0\a/home/写真/\bメインフォルダ名1\a/tmp/\b"
                    u"メイン拡張子0\a\b日時形式0\aYYYY年MM月DD日、hh時mm分ss秒\b"));
}

TEST(HistoryStore, AStoreThatHoldsTheMapAlreadyIsNotRewritten) {
    TempDir dir;
    const std::u16string path = dir.folder() + u"String.db";
    const HistoryMap map{{u"メインフォルダ名0", u"/home/"}};
    saveHistoryStore(path, map);
    const auto written = platform::fileStamp(path);
    ASSERT_TRUE(written);
    saveHistoryStore(path, map);
    EXPECT_EQ(platform::fileStamp(path), written);  // the same file, untouched
    saveHistoryStore(path, {{u"メインフォルダ名0", u"/tmp/"}});
    EXPECT_NE(platform::fileStamp(path)->inode, written->inode);  // replaced as a whole
    EXPECT_EQ(loadHistoryStore(path).at(u"メインフォルダ名0"), u"/tmp/");
}

TEST(HistoryStore, ParsesWhatItCanOfDamagedBytes) {
    struct Case {
        const char* what;
        std::string bytes;
        HistoryMap expected;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"short count", "\x01\x00", {}},
        {"count 0, no text", countBytes(0), {}},
        {"count 0 ignores records", store(0, u"a\ab\b"), {}},
        {"negative count", store(0xFFFFFFFF, u"a\ab\b"), {}},
        {"count below the records", store(1, u"a\ab\bc\ad\b"), {{u"a", u"b"}}},
        {"hostile count", store(0x7FFFFFFF, u"a\ab\bc\ad\b"), {{u"a", u"b"}, {u"c", u"d"}}},
        {"truncated value", store(2, u"a\ab\bc\ad"), {{u"a", u"b"}}},
        {"missing key separator", store(2, u"a\ab\bcd\b"), {{u"a", u"b"}}},
        {"separators in order only", store(1, u"a\bb\ac\b"), {{u"a\bb", u"c"}}},
        {"later key wins", store(2, u"k\a1\bk\a2\b"), {{u"k", u"2"}}},
        {"empty key and value", store(1, u"\a\b"), {{u"", u""}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseHistoryStore(c.bytes), c.expected) << c.what;
}

TEST(HistoryStore, EntriesThatWouldTearARecordAreNotStored) {
    const HistoryMap map = {
        {u"ok", u"value"}, {u"bad\a", u"x"}, {u"k", u"bell\a"}, {u"k2", u"back\bspace"}};
    EXPECT_EQ(parseHistoryStore(serializeHistoryStore(map)), (HistoryMap{{u"ok", u"value"}}));
}

TEST(HistoryStore, CharactersOutsideCp932BecomeTheReplacementCharacter) {
    const HistoryMap map = {{u"置換変更前0", u"한국어"}};
    EXPECT_EQ(parseHistoryStore(serializeHistoryStore(map)),
              (HistoryMap{{u"置換変更前0", u"???"}}));
}

TEST(HistoryStore, MissingFileGivesAnEmptyMap) {
    TempDir dir;
    EXPECT_TRUE(loadHistoryStore(dir.folder() + u"String.db").empty());
}

TEST(HistoryStore, AFileOthersCanWriteIsNotRead) {
    TempDir dir;
    const std::u16string path = dir.folder() + u"String.db";
    saveHistoryStore(path, {{u"メインフォルダ名0", u"/home/"}});
    ::chmod((dir.path() / "String.db").c_str(), 0666);
    EXPECT_TRUE(loadHistoryStore(path).empty());
}

}  // namespace
}  // namespace soramine
