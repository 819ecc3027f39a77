#include "core/methods/timestamps.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/app/ini_file.h"
#include "core/engine/engine_fixture.h"
#include "core/engine/execute.h"
#include "core/engine/preview.h"
#include "core/items/item_text.h"
#include "core/methods/method_list.h"
#include "core/platform/clock.h"
#include "core/settings/records.h"
#include "core/text/utf.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::appendRow;
using testing::clearRows;
using testing::TempDir;
using testing::utf8;

std::int64_t local(int y, int mo, int d, int h, int mi, int s) {
    return platform::fromLocalTime({y, mo, d, h, mi, s})->seconds;
}

std::int64_t modifiedOf(const TempDir& dir, const std::string& name) {
    return platform::lookUp(dir.folder() + text::fromUtf8(name))->modified->seconds;
}

TEST(Timestamps, Validation) {
    const struct {
        std::int32_t created, modified, useStep;
        std::u16string_view step;
        std::optional<Message> expected;
    } cases[] = {
        {1, 1, 0, u"1", std::nullopt},  // the INI defaults
        {0, 1, 1, u"-60", std::nullopt},
        {0, 1, 1, u"1-2", std::nullopt},
        {0, 1, 0, u"x", std::nullopt},  // the step is checked only when it is used
        {0, 0, 0, u"1", errorMessage(u"変更する項目を選択してください")},
        {0, 1, 1, u"", errorMessage(u"増減値が不正です。")},
        {0, 1, 1, u"1.5", errorMessage(u"増減値が不正です。")},
        {0, 1, 1, u" 5", errorMessage(u"増減値が不正です。")},
    };
    for (const auto& c : cases) {
        TimestampPage page;
        page.settings.setCreated = c.created;
        page.settings.setModified = c.modified;
        page.settings.useStep = c.useStep;
        page.settings.step = c.step;
        RunContext run;
        EXPECT_EQ(page.validate(run), c.expected) << utf8(c.step);
    }
    // Only the creation time, which this system cannot set: nothing would change.
    TimestampPage createdOnly;
    createdOnly.settings.setModified = 0;
    RunContext run;
    EXPECT_EQ(createdOnly.validate(run).has_value(), !TimestampPage::canSetCreated());
}

TEST(Timestamps, CombinesTheDateOfOnePickerWithTheTimeOfTheOther) {
    EXPECT_EQ(combinedMoment(local(2010, 1, 23, 18, 0, 0), local(1999, 7, 1, 4, 56, 0)),
              local(2010, 1, 23, 4, 56, 0));
}

// Runs the page as an execution does, over files of a temporary folder.
class TimestampRunTest : public testing::EngineTest {
  protected:
    void useTimestamps() {
        session.methods = makeMethodTable();
        session.settings.methodIndex = 6;
    }
    TimestampPage& page() { return static_cast<TimestampPage&>(*session.methods.page(6)); }
    void setBase(std::int64_t base, const std::u16string& step) {
        auto& s = page().settings;
        s.modifiedDate = s.modifiedTime = base;
        s.useStep = step.empty() ? 0 : 1;
        s.step = step;
    }
};

TEST_F(TimestampRunTest, StepsFromItemToItem) {
    const std::int64_t base = local(2010, 1, 23, 4, 56, 0);
    const struct {
        const char* step;
        bool secondReadOnly;
        std::vector<std::int64_t> expected;
        const char* log;  // the line of the second file
    } cases[] = {
        {"60", false, {base, base + 60, base + 120}, ""},
        {"-3600", false, {base, base - 3600, base - 7200}, ""},
        {"1-2", false, {base, base + 1, base + 2}, ""},
        {"", false, {base, base, base}, ""},
        // A failing item still uses up its step.
        {"60", true, {base, 5, base + 120}, "書き換え禁止で変更できません - "},
    };
    for (const auto& c : cases) {
        clearRows(session);
        useTimestamps();
        setBase(base, text::fromUtf8(c.step));
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
            dir.write(name, "x");
            ASSERT_TRUE(platform::setTimes(dir.folder() + text::fromUtf8(name), {},
                                           platform::FileTime{5, 0}, {}));
            appendRow(session, testing::itemRow(text::fromUtf8(name), dir.folder()));
        }
        const std::string second = dir.path().string() + "/b.jpg";
        ::chmod(second.c_str(), c.secondReadOnly ? 0444 : 0644);
        const ExecuteResult result = executeRun(session, host, quiet);
        ::chmod(second.c_str(), 0644);
        EXPECT_EQ(modifiedOf(dir, "a.jpg"), c.expected[0]) << c.step;
        EXPECT_EQ(modifiedOf(dir, "b.jpg"), c.expected[1]) << c.step;
        EXPECT_EQ(modifiedOf(dir, "c.jpg"), c.expected[2]) << c.step;
        const std::string line = *c.log ? c.log + utf8(dir.folder()) + "b.jpg\r\n" : "";
        EXPECT_EQ(utf8(session.log().text()), line) << c.step;
        EXPECT_EQ(result.processed, c.secondReadOnly ? 2 : 3);
        // The list shows the new times.
        EXPECT_EQ(session.items().modified(2), dateText(platform::FileTime{c.expected[2], 0}));
        EXPECT_EQ(session.items().name(0), u"a.jpg");
    }
}

TEST_F(TimestampRunTest, PreviewChangesNothing) {
    useTimestamps();
    setBase(local(2010, 1, 23, 4, 56, 0), u"");
    dir.write("a.jpg", "x");
    ASSERT_TRUE(platform::setTimes(dir.folder() + u"a.jpg", {}, platform::FileTime{5, 0}, {}));
    appendRow(session, testing::itemRow(u"a.jpg", dir.folder()));
    const PreviewResult preview = previewRun(session, host, quiet);
    ASSERT_EQ(preview.previewNew.size(), 1u);
    EXPECT_EQ(preview.previewNew[0], u"変更無し");
    EXPECT_EQ(modifiedOf(dir, "a.jpg"), 5);
}

TEST_F(TimestampRunTest, FoldersAndMissingItems) {
    useTimestamps();
    const std::int64_t base = local(2010, 1, 23, 4, 56, 0);
    setBase(base, u"10");
    session.settings.folderMode = 1;
    dir.makeFolder("one");
    dir.makeFolder("two");
    for (const char* name : {"one", "gone", "two"})
        appendRow(session, testing::itemRow(text::fromUtf8(name), dir.folder()));
    const ExecuteResult result = executeRun(session, host, quiet);
    // A folder that cannot be reached is passed over silently, without using a step.
    EXPECT_EQ(modifiedOf(dir, "one"), base);
    EXPECT_EQ(modifiedOf(dir, "two"), base + 10);
    EXPECT_EQ(session.log().text(), u"");
    EXPECT_EQ(result.processed, 2);

    // A file that is gone is logged.
    clearRows(session);
    session.settings.folderMode = 0;
    appendRow(session, testing::itemRow(u"gone.txt", dir.folder()));
    (void)executeRun(session, host, quiet);
    EXPECT_EQ(utf8(session.log().text()),
              "書き換えエラー - " + utf8(dir.folder()) + "gone.txt\r\n");
}

TEST(Timestamps, BlockOfEightRecords) {
    TimestampPage page;
    page.settings = {1, 0, 1, u"-30", 1264222560, 1264222561, 1700000000, 4000000000};
    BlockWriter out(20);
    page.saveBlock(out);
    const std::string bytes = out.bytes();
    ASSERT_EQ(bytes.size(), 8u * 16);
    const std::uint32_t ids[] = {1088, 1045, 1046, 1089, 1047, 1048, 1090, 1091};
    const std::uint32_t kinds[] = {0, 2, 2, 0, 2, 2, 0, 0};
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(getUint32(bytes, 16 * i), ids[i]);
        EXPECT_EQ(getUint32(bytes, 16 * i + 4), kinds[i]);
        EXPECT_EQ(getUint32(bytes, 16 * i + 8), 1u);
    }
    EXPECT_EQ(getUint32(bytes, 16 * 7 + 12), static_cast<std::uint32_t>(-30));

    const std::string file = std::string(20, '\0') + bytes;
    BlockReader in(file, 20, file.size());
    TimestampPage back;
    ASSERT_TRUE(back.loadBlock(in));
    EXPECT_EQ(back.settings.setCreated, 1);
    EXPECT_EQ(back.settings.setModified, 0);
    EXPECT_EQ(back.settings.step, u"-30");
    EXPECT_EQ(back.settings.createdTime, 1264222561);
    EXPECT_EQ(back.settings.modifiedTime, 4000000000);  // the low 32 bits, high part 0
}

TEST(Timestamps, IniKeysRoundTrip) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    TimestampPage page;
    EXPECT_EQ(page.settings.setCreated, 1);
    EXPECT_EQ(page.settings.setModified, 1);
    page.settings.useStep = 1;
    page.settings.step = u"-5";
    page.writeIni(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"),
              "[タイム]\r\n作成日時=1\r\n更新日時=1\r\n増減=1\r\n数値=-5\r\n");
}

}  // namespace
}  // namespace soramine
