#include "core/methods/script.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/app/ini_file.h"
#include "core/engine/engine_fixture.h"
#include "core/engine/execute.h"
#include "core/engine/preview.h"
#include "core/engine/session.h"
#include "core/methods/method_list.h"
#include "core/platform/clock.h"
#include "core/settings/records.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::TempDir;
using testing::utf8;
using Kind = ScriptCode::Kind;

TEST(Script, ParsesEachKindOfLine) {
    struct Case {
        std::u16string_view line;
        std::optional<ScriptCode> code;
    };
    const Case cases[] = {
        {u"<a>→<b>", ScriptCode{Kind::kReplace, u"a", u"b"}},
        {u"<a>x→y<b>z", ScriptCode{Kind::kReplace, u"a", u"b"}},
        {u"<>→<>", ScriptCode{Kind::kReplace, u"", u""}},
        {u"<a*c>→<X>", ScriptCode{Kind::kReplace, u"a*c", u"X"}},
        {u"<\\AF>x", ScriptCode{Kind::kAdd, u"F", u"x"}},
        {u"<\\AB>_v2", ScriptCode{Kind::kAdd, u"B", u"_v2"}},
        {u"<\\Aq>x>y", ScriptCode{Kind::kAdd, u"B", u"x>y"}},
        {u"<\\AF>", ScriptCode{Kind::kAdd, u"F", u""}},
        {u"<\\TM>2024-01-02 03:04:05", ScriptCode{Kind::kTime, u"M", u"2024-01-02 03:04:05"}},
        {u"<\\TC>2024/01/02 03:04:05", ScriptCode{Kind::kTime, u"C", u"2024/01/02 03:04:05"}},
        {u"<\\Tx>2024-01-02 03:04:05", ScriptCode{Kind::kTime, u"C", u"2024-01-02 03:04:05"}},
        {u"<\\AF>→<x>", ScriptCode{Kind::kReplace, u"\\AF", u"x"}},
        {u"", std::nullopt},
        {u" <a>→<b>", std::nullopt},
        {u"xyz", std::nullopt},
        {u"<a→<b>", std::nullopt},
        {u"<a>→b", std::nullopt},
        {u"<a>→<b", std::nullopt},
        {u"<a→b", std::nullopt},
        {u"<\\AF", std::nullopt},
        {u"<\\TM>2024-01-02 03:04", std::nullopt},
        {u"<\\TM>2024-01-02 03:04:055", std::nullopt},
        {u"<x>", std::nullopt},
    };
    for (const Case& c : cases) {
        const ParsedScript parsed = parseScript(c.line);
        if (c.code) {
            ASSERT_EQ(parsed.codes.size(), 1u) << utf8(c.line);
            EXPECT_EQ(parsed.codes[0], *c.code) << utf8(c.line);
            EXPECT_TRUE(parsed.invalidLines.empty()) << utf8(c.line);
        } else {
            EXPECT_TRUE(parsed.codes.empty()) << utf8(c.line);
            EXPECT_EQ(parsed.invalidLines, std::vector<int>{1}) << utf8(c.line);
        }
    }
}

TEST(Script, NumbersTheLinesItRefuses) {
    struct Case {
        std::u16string_view script;
        std::size_t codes;
        std::vector<int> invalid;
    };
    const Case cases[] = {
        {u"<a>→<b>\r\nxyz", 1, {2}},
        {u"<a>→<b>\r\n\r\n\r\n", 1, {}},
        {u"<a>→<b>\r\n\r\n<c>→<d>\r\n", 2, {2}},
        {u"<a>→<b>\n<c>→<d>", 2, {}},
        {u"\r\n", 0, {1}},
        {u"x\r\ny\r\n<\\AF>z\r\nw", 1, {1, 2, 4}},
    };
    for (const Case& c : cases) {
        const ParsedScript parsed = parseScript(c.script);
        EXPECT_EQ(parsed.codes.size(), c.codes) << utf8(c.script);
        EXPECT_EQ(parsed.invalidLines, c.invalid) << utf8(c.script);
    }
}

TEST(Script, ValidationLogsEachInvalidLine) {
    ScriptPage page;
    RunContext run;
    page.settings.script = u"<a>→<b>\r\nxyz\r\n";
    EXPECT_EQ(page.validate(run), std::nullopt);
    EXPECT_EQ(utf8(run.log.text()), "2行目の書式が不正です\r\n");

    RunContext none;
    page.settings.script = u" <a>→<b>";
    EXPECT_EQ(page.validate(none), errorMessage(u"書式が不正です。"));
    EXPECT_EQ(utf8(none.log.text()), "1行目の書式が不正です\r\n");
}

TEST(Script, HostileScriptsAreParsedInFull) {
    std::u16string many;
    for (int i = 0; i < 100000; ++i)
        many += i % 2 ? u"bad\r\n" : u"<a>→<b>\r\n";
    const ParsedScript parsed = parseScript(many);
    EXPECT_EQ(parsed.codes.size(), 50000u);
    EXPECT_EQ(parsed.invalidLines.size(), 50000u);
    EXPECT_EQ(parsed.invalidLines.back(), 100000);

    const std::u16string longLine = u"<" + std::u16string(10000, u'x') + u">→<y>";
    EXPECT_EQ(parseScript(longLine).codes.at(0).first.size(), 10000u);
}

TEST(Script, TransformsNames) {
    struct Case {
        std::u16string_view script;
        std::u16string_view name;
        bool folderMode;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {u"<a>→<b>", u"banana.txt", false, u"bbnbnb.txt"},
        {u"<A>→<b>", u"banana.txt", false, u"banana.txt"},
        {u"<ab*>→<X>", u"abcd.txt", false, u"X.txt"},
        {u"<ab*>→<X>", u"abcd.txt", true, u"X"},
        {u"<a*c>→<X>", u"abcabc", false, u"Xabc"},
        {u"<*>→<Y>", u"photo.jpg", false, u"Y.jpg"},
        {u"<a*b*>→<Z>", u"a1b*2b*", false, u"Z2b*"},
        {u"<q*>→<Z>", u"abc", false, u"abc"},
        {u"<>→<x>", u"abc", false, u"abc"},
        {u"<\\AB>_v2", u"README", false, u"_v2README"},
        {u"<\\AB>_v2", u"data.tar.gz", false, u"data.tar_v2.gz"},
        {u"<\\AB>_v2", u"data.tar.gz", true, u"data.tar_v2.gz"},
        {u"<\\AF>x\r\n<\\AF>y", u"a", false, u"yxa"},
        {u"<a>→<aa>\r\n<aa>→<b>", u"a", false, u"b"},
        {u"<\\TC>2024-01-02 03:04:05\r\n<\\AF>t", u"a", false, u"ta"},
    };
    for (const Case& c : cases) {
        ScriptPage page;
        page.settings.script = c.script;
        RunContext run{{c.folderMode, false}};
        ASSERT_EQ(page.validate(run), std::nullopt) << utf8(c.script);
        EXPECT_EQ(utf8(page.transform({.name = c.name}, run)), utf8(c.expected))
            << utf8(c.script) << " on " << utf8(c.name);
    }
}

TEST(Script, TimeValues) {
    struct Case {
        std::u16string_view value;
        bool valid;
    };
    const Case cases[] = {
        {u"2024-01-02 03:04:05", true},  {u"2024/01/02 03:04:05", true},
        {u"2024-02-29 23:59:59", true},  {u"2023-02-29 12:00:00", false},
        {u"2024-13-01 00:00:00", false}, {u"2024-00-01 00:00:00", false},
        {u"2024-01-32 00:00:00", false}, {u"2024-01-01 24:00:00", false},
        {u"2024-01-01 00:60:00", false}, {u"2024-01-01 00:00:60", false},
        {u"1899-12-31 00:00:00", false}, {u"abcd-ef-gh ij:kl:mn", false},
        {u"2024-01-02 03:04:0", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scriptTime(c.value).has_value(), c.valid) << utf8(c.value);
    const auto moment = scriptTime(u"2024-01-02 03:04:05");
    ASSERT_TRUE(moment);
    EXPECT_EQ(platform::toLocalTime(*moment), (platform::LocalTime{2024, 1, 2, 3, 4, 5}));
}

// A session of the product's methods on "スクリプト" over the files of `dir`.
struct ScriptRun {
    explicit ScriptRun(std::u16string_view script)
        : session(IniFile(ini.folder() + u"ソラミネ.ini"), makeMethodTable()) {
        session.settings.methodIndex = 13;
        dynamic_cast<ScriptPage&>(*session.methods.page(13)).settings.script = script;
        dir.write("a.txt", "a");
        (void)session.changeItems([&](ItemTable& t) {
            Row row;
            row.name = u"a.txt";
            row.folder = dir.folder();
            t.append(std::move(row));
        });
    }
    std::int64_t modified(const char* name = "a.txt") const {
        struct stat st;
        EXPECT_EQ(::stat((dir.path() / name).c_str(), &st), 0);
        return st.st_mtime;
    }

    TempDir ini;
    TempDir dir;
    RenameSession session;
    QuietObserver quiet;
};

TEST(Script, OnlyAnExecutionSetsTimes) {
    ScriptRun run(u"<\\TC>2001-02-03 04:05:06");
    testing::FakeHost host;
    const std::int64_t before = run.modified();
    const PreviewResult preview = previewRun(run.session, host, run.quiet);
    EXPECT_EQ(utf8(preview.previewNew.at(0)), "変更無し");
    EXPECT_EQ(run.modified(), before);

    executeRun(run.session, host, run.quiet);
    EXPECT_EQ(run.modified(), scriptTime(u"2001-02-03 04:05:06")->seconds);
    EXPECT_EQ(utf8(run.session.log().text()), "");
}

TEST(Script, TimeCodesThatCannotBeAppliedAreLogged) {
    ScriptRun run(u"<\\TC>2023-02-29 04:05:06\r\n<\\TM>2001-02-03 04:05:06\r\n<\\AF>x");
    testing::FakeHost host;
    const std::int64_t before = run.modified();
    const ExecuteResult result = executeRun(run.session, host, run.quiet);
    EXPECT_EQ(result.processed, 1);
    EXPECT_EQ(run.modified("xa.txt"), before);
    const std::string path = utf8(run.dir.folder()) + "a.txt";
    EXPECT_EQ(utf8(run.session.log().text()),
              "日時が不正です(2023-02-29 04:05:06) - " + path +
                  "\r\nこのシステムでは作成日時を変更できません - " + path + "\r\n");
    EXPECT_TRUE(run.dir.exists("xa.txt"));
}

TEST(Script, BlockIsOneTextRecord) {
    ScriptPage page;
    page.settings.script = u"<a>→<b>\r\n";
    BlockWriter out(100);
    page.saveBlock(out);
    std::string expected;
    for (std::uint32_t v : {1218u, 1u, 9u, 116u})
        appendUint32(expected, v);
    for (char16_t c : page.settings.script)
        appendUint16(expected, c);
    EXPECT_EQ(out.bytes(), expected);

    const std::string file = std::string(100, '\0') + out.bytes();
    BlockReader in(file, 100, 116);
    ScriptPage back;
    ASSERT_TRUE(back.loadBlock(in));
    EXPECT_EQ(back.settings.script, page.settings.script);
}

TEST(Script, ScriptTextLivesInTheHistoryStore) {
    TempDir dir;
    RenameSession session(IniFile(dir.folder() + u"ソラミネ.ini"), makeMethodTable());
    auto& page = dynamic_cast<ScriptPage&>(*session.methods.page(13));
    session.loadHistories({});
    EXPECT_EQ(utf8(page.settings.script), "<置換前文字>→<置換後文字>\r\n");
    page.settings.script = u"<\\AF>x\r\n";
    HistoryMap map;
    session.saveHistories(map);
    EXPECT_EQ(utf8(map.at(u"スクリプト-コード")), "<\\AF>x\r\n");
}

}  // namespace
}  // namespace soramine
