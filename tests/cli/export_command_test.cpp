#include <string>
#include <vector>

#include "cli/job_fixture.h"

namespace soramine::testing {
namespace {

using CliExport = CliJobTest;

TEST_F(CliExport, WritesTheListAsThePageSays) {
    struct Case {
        std::vector<std::string> job;      // make-job options after --method テキスト
        std::vector<std::string> export_;  // export options after the job
        std::string file;                  // what out.txt holds afterwards ("" for stdout)
        std::string out;                   // stdout
    };
    // b.txt and あ.txt, each ending in CR LF, after the byte-order mark.
    const std::string kUtf16(
        "\xFF\xFE"
        "b\0.\0t\0x\0t\0\r\0\n\0"
        "\x42\x30.\0t\0x\0t\0\r\0\n\0",
        30);
    const Case cases[] = {
        {{}, {}, "", "a.tar.gz\r\nb.txt\r\nあ.txt\r\n"},
        {{"--set", "含める=0", "--ext", "txt"}, {}, "", "b\r\nあ\r\n"},
        {{"--set", "フルパス=1", "--set", "選択=1"}, {"--rows", "2"}, "", "@b.txt\r\n"},
        {{"--ext", "txt"}, {"--out", "OUT"}, "b.txt\r\n\x82\xA0.txt\r\n", ""},
        {{"--ext", "txt"}, {"--out", "OUT", "--utf16"}, kUtf16, ""},
        {{"--ext", "txt", "--set", "Unicode=1"}, {"--out", "OUT"}, kUtf16, ""},
        {{"--ext", "png"}, {"--out", "OUT"}, "", ""},
    };
    writeFiles({"a.tar.gz", "b.txt", "あ.txt"});
    for (const Case& c : cases) {
        std::filesystem::remove(config.path() / "out.txt");
        std::vector<std::string> job{"--method", "テキスト"};
        job.insert(job.end(), c.job.begin(), c.job.end());
        std::vector<std::string> args{"export", makeJob(job)};
        for (const std::string& arg : c.export_)
            args.push_back(arg == "OUT" ? (config.path() / "out.txt").string() : arg);
        const CliResult r = cli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, inFolder(c.out));
        EXPECT_EQ(std::filesystem::exists(config.path() / "out.txt") ? config.read("out.txt") : "",
                  c.file);
    }
}

TEST_F(CliExport, RefusesWhatItCannotExport) {
    writeFiles({"a.txt"});
    const CliResult other = cli({"export", makeJob({"--method", "置換"})});
    EXPECT_EQ(other.status, 2);
    EXPECT_EQ(other.err, "リスト出力はリネーム方式「テキスト」のジョブにだけ使えます\n");
    const CliResult noRows = cli({"export", makeJob({"--method", "テキスト", "--set", "選択=1"})});
    EXPECT_EQ(noRows.status, 2);
    EXPECT_EQ(noRows.err,
              "このジョブは「選択ファイルのみ」がオンです。--rows で出力する行を指定してください "
              "(例: --rows 1,3,5-7)\n");
    const CliResult unwritable =
        cli({"export", makeJob({"--method", "テキスト"}), "--out", "missing/out.txt"});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_EQ(unwritable.err, "ファイルオープンエラー: missing/out.txt\n");
}

TEST_F(CliExport, ClipboardFileGivesTheLines) {
    writeFiles({"1.jpg", "2.jpg", "3.jpg"});
    config.write("clip.txt", "\x82\xA0\r\nb\r\n\r\n");
    const std::string job = makeJob({"--method", "テキスト", "--set", "元テキスト=0"});
    const CliResult r =
        cli({"preview", job, "--clipboard-file", (config.path() / "clip.txt").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "変更前→変更後\n\n1.jpg→あ.jpg\n2.jpg→b.jpg\n");
    const CliResult none = cli({"preview", job});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err, "クリップボードオープンエラー　　　\n");
}

}  // namespace
}  // namespace soramine::testing
