#include "core/methods/hash_name.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/ini_file.h"
#include "core/engine/run.h"
#include "core/methods/add_text.h"
#include "core/settings/records.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;
using testing::utf8;

// Records what a hash asks of the run's progress, and cancels after `cancelAfter` chunks.
class RecordingObserver final : public RunObserver {
  public:
    void begin(std::size_t) override {}
    void step() override { ++steps; }
    bool cancelled() override { return steps >= cancelAfter; }
    void advance(std::size_t) override {}
    void end() override {}
    void beginItemWork(std::u16string_view c, std::size_t n) override {
        caption = c;
        range = n;
    }
    void advanceItemWork(std::size_t n) override { advanced += n; }
    void endItemWork() override { ended = true; }

    std::size_t cancelAfter = SIZE_MAX;
    std::size_t steps = 0;
    std::u16string caption;
    std::size_t range = 0, advanced = 0;
    bool ended = false;
};

TEST(HashName, NamesFilesAfterTheirDigest) {
    struct Case {
        std::string_view file, content;
        HashNameSettings settings;  // mode, kind, lowercase, enclosure
        std::u16string_view expected;
    };
    const Case cases[] = {
        {"data.bin", "", {0, 0, 0, 0}, u"00000000.bin"},
        {"a.txt", "", {0, 1, 1, 3}, u"「d41d8cd98f00b204e9800998ecf8427e」.txt"},
        {"README", "abc", {0, 2, 0, 1}, u"[A9993E364706816ABA3E25717850C26C9CD0D89D]"},
        {".profile", "abc", {0, 0, 1, 2}, u"(352441c2)"},
        {".a.b", "abc", {0, 0, 0, 0}, u"352441C2.b"},
        {"archive.tar.gz", "abc", {0, 1, 0, 4}, u"【900150983CD24FB0D6963F7D28E17F72】.gz"},
        {"big.dat",
         std::string_view("The quick brown fox jumps over the lazy dog"),
         {0, 2, 1, 0},
         u"2fd4e1c67a2d28fced849ee1bb76e7391b93eb12.dat"},
        {"odd.dat", "abc", {0, 0, 0, 9}, u"352441C2.dat"},  // damaged INI: no enclosure
    };
    AddTextPage add;
    HashNamePage page(add);
    for (const Case& c : cases) {
        TempDir dir;
        dir.write(c.file, c.content);
        page.settings = c.settings;
        RunContext run;
        const std::u16string file(c.file.begin(), c.file.end());
        EXPECT_EQ(utf8(page.transform({.name = file, .folder = dir.folder()}, run)),
                  utf8(c.expected))
            << c.file;
        EXPECT_EQ(run.log.text(), u"") << c.file;
    }
}

TEST(HashName, AddModeInsertsTheDigestWithTheAddTextPositions) {
    TempDir dir;
    dir.write("photo.jpg", "abc");
    AddTextPage add;
    add.settings = {0, 0, 0, u"1"};
    HashNamePage page(add);
    page.settings = {1, 0, 0, 1};
    RunContext run;
    EXPECT_EQ(page.transform({.name = u"photo.jpg", .folder = dir.folder()}, run),
              u"[352441C2]photo.jpg");
    add.settings = {1, 0, 0, u"1"};
    EXPECT_EQ(page.transform({.name = u"photo.jpg", .folder = dir.folder()}, run),
              u"photo[352441C2].jpg");
    EXPECT_TRUE(page.usesAddText());
    page.settings.mode = 0;
    EXPECT_FALSE(page.usesAddText());
}

TEST(HashName, AFileThatCannotBeReadKeepsItsNameAndIsLogged) {
    TempDir dir;
    dir.makeFolder("sub");
    AddTextPage add;
    HashNamePage page(add);
    for (const std::u16string_view name : {u"missing.txt", u"sub"}) {
        RunContext run;
        EXPECT_EQ(page.transform({.name = name, .folder = dir.folder()}, run), name);
        EXPECT_EQ(utf8(run.log.text()),
                  utf8(u"ファイルが開けません - " + dir.folder() + std::u16string(name) + u"\r\n"));
    }
}

// Files of 610 reads of 32 KiB or more show a progress of their own, one step per read.
TEST(HashName, LargeFilesShowAProgressOfTheirOwn) {
    struct Case {
        std::uintmax_t size;
        bool shown;
        std::size_t range;
    };
    const Case cases[] = {
        {19988480 - 1, false, 0},
        {19988480, true, 611},
        {19988480 + 32768, true, 612},
        {0, false, 0},
    };
    for (const Case& c : cases) {
        TempDir dir;
        std::filesystem::resize_file(dir.write("f.bin"), c.size);
        AddTextPage add;
        HashNamePage page(add);
        RecordingObserver observer;
        RunContext run;
        run.progress = &observer;
        page.transform({.name = u"f.bin", .folder = dir.folder()}, run);
        EXPECT_EQ(observer.caption, c.shown ? u"ハッシュ計算中" : u"") << c.size;
        EXPECT_EQ(observer.range, c.range) << c.size;
        // The last read finds the end of the file and is no step.
        EXPECT_EQ(observer.advanced, c.shown ? c.range - 1 : 0) << c.size;
        EXPECT_EQ(observer.ended, c.shown) << c.size;
        EXPECT_EQ(observer.steps, (c.size + 32767) / 32768) << c.size;
    }
}

TEST(HashName, ACancelDuringHashingKeepsTheName) {
    TempDir dir;
    std::filesystem::resize_file(dir.write("big.bin"), 19988480);
    AddTextPage add;
    HashNamePage page(add);
    RecordingObserver observer;
    observer.cancelAfter = 3;
    RunContext run;
    run.progress = &observer;
    EXPECT_EQ(page.transform({.name = u"big.bin", .folder = dir.folder()}, run), u"big.bin");
    EXPECT_EQ(observer.steps, 3u);
    EXPECT_TRUE(observer.ended);
    EXPECT_EQ(utf8(run.log.text()), utf8(u"ハッシュ作成失敗 - " + dir.folder() + u"big.bin\r\n"));
}

TEST(HashName, BlockOfFourRecordsOrEightInAddMode) {
    struct Case {
        std::int32_t mode;
        std::vector<std::uint32_t> ids;
    };
    const Case cases[] = {
        {0, {1163, 1160, 1165, 1168}},
        {1, {1163, 1160, 1165, 1168, 1038, 1039, 1029, 1040}},
    };
    for (const Case& c : cases) {
        AddTextPage add;
        add.settings = {2, 1, 1, u"4"};
        HashNamePage page(add);
        page.settings = {c.mode, 2, 1, 3};
        BlockWriter out(0);
        page.saveBlock(out);
        const std::string bytes = out.bytes();
        ASSERT_EQ(bytes.size(), 16 * c.ids.size()) << c.mode;
        for (std::size_t i = 0; i < c.ids.size(); ++i)
            EXPECT_EQ(getUint32(bytes, 16 * i), c.ids[i]) << c.mode << " " << i;

        BlockReader in(bytes, 0, bytes.size());
        AddTextPage backAdd;
        HashNamePage back(backAdd);
        ASSERT_TRUE(back.loadBlock(in)) << c.mode;
        EXPECT_EQ(back.settings.mode, c.mode);
        EXPECT_EQ(back.settings.kind, 2);
        EXPECT_EQ(back.settings.lowercase, 1);
        EXPECT_EQ(back.settings.enclosure, 3);
        EXPECT_EQ(backAdd.settings.offset, c.mode == 1 ? u"4" : u"1");
    }
}

TEST(HashName, IniKeysRoundTrip) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    AddTextPage add;
    HashNamePage page(add);
    EXPECT_EQ(
        page.settings.mode + page.settings.kind + page.settings.lowercase + page.settings.enclosure,
        0);
    page.settings = {1, 2, 1, 4};
    page.writeIni(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"),
              "[ハッシュ]\r\n方法=1\r\n種類=2\r\nアルファベット=1\r\n囲み=4\r\n");
    HashNamePage back(add);
    back.readIni(ini);
    EXPECT_EQ(back.settings.kind, 2);
    EXPECT_EQ(back.settings.enclosure, 4);
}

}  // namespace
}  // namespace soramine
