#include "core/settings/settings_file.h"

#include <gtest/gtest.h>

#include "core/methods/add_text.h"
#include "core/methods/numbering.h"
#include "core/methods/replace.h"
#include "core/settings/records.h"
#include "support/record_bytes.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;

std::string le16(std::uint16_t v) {
    std::string out;
    appendUint16(out, v);
    return out;
}

constexpr auto record = testing::recordBytes;

MainSettings savedOptions(int methodIndex) {
    MainSettings o = defaultMainSettings();
    o.folderMode = 0;
    o.importMode = 1;
    o.subfolders = 1;
    o.methodIndex = methodIndex;
    o.selectedOnly = 0;
    o.backup = 1;
    o.autoAvoid = 1;
    o.folderCreation = 0;
    o.moveAfter = 0;
    o.copyAfter = 1;
    return o;
}

// The three pages built so far at their method indexes; the others are not offered yet.
struct Pages {
    AddTextPage add;
    NumberingPage numbering{add};
    ReplacePage replace;

    MethodPage* operator()(int index) {
        switch (index) {
            case 0:
                return &numbering;
            case 1:
                return &replace;
            case 2:
                return &add;
        }
        return nullptr;
    }
};

ReplacePage replacePage() {
    ReplacePage page;
    page.settings = {0, 1, 1, u"1"};
    page.search.text = u"a";
    page.replacement.text = u"b";
    return page;
}

TEST(SettingsFile, ReplaceIsSavedByteForByte) {
    const std::string bytes = buildSettingsFile(savedOptions(1), u"C:", u"*", replacePage());
    const std::string expected =
        std::string("qrn\0", 4) + le16(1) + le16(8) + std::string("\0\1\1\1\0\1\1\0\0\1", 10) +
        record(1002, 1, 2, 152) + record(1003, 1, 1, 156) + record(1234, 0, 1, 1) +
        record(1049, 0, 1, 0) + record(1035, 1, 1, 146) + record(1070, 0, 1, 1) +
        record(1051, 1, 1, 148) + record(1036, 1, 1, 150) +
        std::string(
            "a\0"
            "1\0"
            "b\0"
            "C\0:\0"
            "*\0",
            12);
    ASSERT_EQ(bytes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(bytes[i], expected[i]) << "offset " << i;
}

TEST(SettingsFile, ReplaceLoadsBackIdentically) {
    TempDir dir;
    const std::u16string path = dir.folder() + u"設定.qrn";
    ReplacePage saved = replacePage();
    saved.settings = {1, 0, 0, u"12"};
    saved.search.text = u"";
    saved.replacement.text = u"\\_新";
    ASSERT_FALSE(saveSettingsFile(path, savedOptions(1), u"/home/写真/", u"", saved));

    Pages pages;
    auto loaded = loadSettingsFile(path, 15, std::ref(pages));
    ASSERT_TRUE(loaded);
    MainSettings into = defaultMainSettings();
    into.destination = u"/kept/";
    takeSavedOptions(*loaded, into);
    for (auto field : kSavedOptionFields)
        EXPECT_EQ(into.*field, savedOptions(1).*field);
    EXPECT_EQ(into.destination, u"/kept/");
    EXPECT_EQ(loaded->folderText, u"/home/写真/");
    EXPECT_EQ(loaded->extensionText, u"");
    EXPECT_EQ(pages.replace.settings.mode, 1);
    EXPECT_EQ(pages.replace.settings.caseSensitive, 0);
    EXPECT_EQ(pages.replace.settings.ignoreExtension, 0);
    EXPECT_EQ(pages.replace.settings.position, u"12");
    EXPECT_EQ(pages.replace.search.text, u"");
    EXPECT_EQ(pages.replace.replacement.text, u"\\_新");
}

TEST(SettingsFile, NumberingInAddModeCarriesTheAddTextPositions) {
    Pages source;
    source.numbering.settings = {1, 2, 4, u"-5", u"-2"};
    source.numbering.pattern.text = u"第*";
    source.add.settings = {2, 1, 1, u"3"};
    const std::string bytes = buildSettingsFile(savedOptions(0), u"/", u"*", source.numbering);
    EXPECT_EQ(getUint16(bytes, 6), 12);
    EXPECT_EQ(getUint32(bytes, 50 + 2 * 16 + 12), 50u + 10 * 16) << "the pattern's offset";
    EXPECT_EQ(getUint32(bytes, 50 + 3 * 16 + 12), 0xFFFFFFFBu) << "start -5";

    auto parsed = parseSettingsFile(bytes, 15);
    ASSERT_TRUE(parsed);
    Pages target;
    ASSERT_FALSE(loadSavedPage(*parsed, std::ref(target)));
    EXPECT_EQ(target.numbering.settings.mode, 1);
    EXPECT_EQ(target.numbering.settings.kind, 2);
    EXPECT_EQ(target.numbering.settings.digits, 4);
    EXPECT_EQ(target.numbering.settings.start, u"-5");
    EXPECT_EQ(target.numbering.settings.step, u"-2");
    EXPECT_EQ(target.numbering.pattern.text, u"第*");
    EXPECT_EQ(target.add.settings.where, 2);
    EXPECT_EQ(target.add.settings.afterExtension, 1);
    EXPECT_EQ(target.add.settings.fromTail, 1);
    EXPECT_EQ(target.add.settings.offset, u"3");
}

TEST(SettingsFile, DamagedFilesAreRefused) {
    const std::string good = buildSettingsFile(savedOptions(1), u"C:", u"*", replacePage());
    auto patched = [&](std::size_t at, std::uint32_t v) {
        std::string s = good;
        putUint32(s, at, v);
        return s;
    };
    auto withByte = [&](std::size_t at, char v) {
        std::string s = good;
        s[at] = v;
        return s;
    };
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case headerCases[] = {
        {"empty file", ""},
        {"wrong magic", withByte(2, 'm')},
        {"no zero after the magic", withByte(3, ' ')},
        {"cut inside the header", good.substr(0, 17)},
        {"cut inside the main records", good.substr(0, 49)},
        {"cut inside the page records", good.substr(0, 140)},
        {"method index 15", withByte(11, 15)},
        {"method index 255", withByte(11, '\xFF')},
        {"record count below 2", patched(4, 0x00010001) /* count 1 */},
        {"folder text past the end", patched(30, 200)},
        {"extension text longer than the file", patched(42, 2)},
        {"text length near 2^32", patched(26, 0xFFFFFFFF)},
        {"text offset near 2^32", patched(30, 0xFFFFFFFE)},
    };
    for (const Case& c : headerCases) {
        auto parsed = parseSettingsFile(c.bytes, 15);
        ASSERT_FALSE(parsed) << c.what;
        EXPECT_EQ(parsed.error().text, u"ソラミネファイルではありません") << c.what;
        EXPECT_EQ(parsed.error().caption, u"ファイルオープンエラー") << c.what;
    }

    const Case blockCases[] = {
        {"header counts fewer records than the page has", patched(4, 0x00070001)},
        {"page text past the end", patched(50 + 2 * 16 + 12, 4096)},
        {"page text length overflows", patched(50 + 5 * 16 + 8, 0x80000000)},
    };
    for (const Case& c : blockCases) {
        auto parsed = parseSettingsFile(c.bytes, 15);
        ASSERT_TRUE(parsed) << c.what;
        Pages pages;
        auto message = loadSavedPage(*parsed, std::ref(pages));
        ASSERT_TRUE(message) << c.what;
        EXPECT_EQ(message->text, u"ソラミネファイルではありません") << c.what;
        EXPECT_EQ(pages.replace.search.text, u"new") << c.what << ": page left unchanged";
        EXPECT_EQ(pages.replace.settings.ignoreExtension, 1) << c.what;
    }
}

// A method whose page this build does not have yet.
TEST(SettingsFile, UnopenableFilesGiveTheOpenMessage) {
    TempDir dir;
    Pages pages;
    const Message expected{u"ファイルを開くことが出来ませんでした", u"ファイルオープンエラー",
                           Icon::Error};
    auto read = loadSettingsFile(dir.folder() + u"missing.qrn", 15, std::ref(pages));
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error(), expected);
    auto written = saveSettingsFile(dir.folder() + u"no/such/folder/a.qrn", savedOptions(1), u"",
                                    u"", pages.replace);
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, expected);
}

}  // namespace
}  // namespace soramine
