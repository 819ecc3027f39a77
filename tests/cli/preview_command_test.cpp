#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "cli/job_fixture.h"
#include "support/unprivileged.h"

namespace soramine::testing {
namespace {

using CliPreview = CliJobTest;

const std::string kHeader = "変更前→変更後\n\n";

TEST_F(CliPreview, PrintsTheCopiedPreviewTextAndChangesNothing) {
    struct Case {
        std::vector<std::string> job;  // make-job options after --method 置換
        std::vector<std::string> run;  // preview options after the job
        std::string rows;              // the lines after the header
    };
    const std::string other = (config.path()).string();
    const Case cases[] = {
        {{"--set", "変更前=a", "--set", "変更後=b"},
         {},
         "a1.txt→同名ファイルが存在します\na2.jpg→b2.jpg\nb1.txt→変更無し\nc.txt→変更無し\n"},
        {{"--set", "変更前=a", "--set", "変更後=b", "--flag", "自動回避=1"},
         {"--ext", "txt"},
         "a1.txt→b1[1].txt\nb1.txt→変更無し\nc.txt→変更無し\n"},
        {{"--set", "変更前=c", "--set", "変更後=b1", "--folder", other},
         {"--folder", "."},
         "a1.txt→変更無し\na2.jpg→変更無し\nb1.txt→変更無し\nc.txt→同名ファイルが存在します\n"},
        {{"--set", "変更前=a", "--set", "変更後=x", "--flag", "選択項目=1"},
         {"--rows", "2,4"},
         "a2.jpg→x2.jpg\nc.txt→変更無し\n"},
        {{"--set", "変更前=a", "--set", "変更後=x", "--ext", "png"}, {}, ""},
    };
    writeFiles({"a1.txt", "a2.jpg", "b1.txt", "c.txt"});
    for (const Case& c : cases) {
        std::vector<std::string> job{"--method", "置換"};
        job.insert(job.end(), c.job.begin(), c.job.end());
        std::vector<std::string> args{"preview", makeJob(job)};
        args.insert(args.end(), c.run.begin(), c.run.end());
        const CliResult r = cli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, kHeader + c.rows) << c.job[1];
        EXPECT_EQ(names(), (std::vector<std::string>{"a1.txt", "a2.jpg", "b1.txt", "c.txt"}));
    }
}

// The character methods take their settings by INI key and history name, and the job holds
// them in their records.
TEST_F(CliPreview, RunsTheCharacterMethodsFromTheirJobs) {
    struct Case {
        std::vector<std::string> job;  // make-job options
        std::string rows;              // the lines after the header
    };
    const Case cases[] = {
        {{"--method", "削除 / 抽出", "--set", "方式=1", "--set", "文字数=2", "--set", "削除位置=3",
          "--set", "前方=1", "--set", "指定文字=_"},
         "IMG_1234.JPG→12.JPG\nReadMe→指定の文字が見つかりません\n"
         "ひらがな.txt→指定の文字が見つかりません\n"},
        {{"--method", "拡張子", "--set", "変更後=..png"},
         "IMG_1234.JPG→IMG_1234.png\nReadMe→ReadMe...png\nひらがな.txt→ひらがな.png\n"},
        {{"--method", "拡張子", "--set", "選択=1"},
         "IMG_1234.JPG→IMG_1234.jpg\nReadMe→拡張子がありません\nひらがな.txt→変更無し\n"},
        {{"--method", "その他", "--set", "選択=2"},
         "IMG_1234.JPG→変更無し\nReadMe→変更無し\nひらがな.txt→ヒラガナ.txt\n"},
        {{"--method", "その他", "--set", "選択=8", "--set", "位置=1", "--set", "埋め=-"},
         "IMG_1234.JPG→変更無し\nReadMe→ReadMe--\nひらがな.txt→ひらがな----.txt\n"},
    };
    writeFiles({"IMG_1234.JPG", "ReadMe", "ひらがな.txt"});
    for (const Case& c : cases) {
        const CliResult r = cli({"preview", makeJob(c.job)});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, kHeader + c.rows) << c.job[1];
    }
}

TEST_F(CliPreview, RefusesAJobThatCannotStart) {
    struct Case {
        std::vector<std::string> job;  // make-job options after --method 置換
        std::vector<std::string> run;  // preview options after the job
        std::string err;
    };
    const Case cases[] = {
        {{"--set", "変更前=a*b*c"}, {}, "ワイルドカード\"*\"が二つ以上あります。\n"},
        {{"--flag", "選択項目=1"},
         {},
         "このジョブは「選択ファイルのみリネーム」がオンです。--rows で対象の行を指定してください "
         "(例: --rows 1,3,5-7)\n"},
        {{},
         {"--rows", "1"},
         "--rows は「選択ファイルのみリネーム」がオンのジョブにだけ使えます\n"},
        {{"--flag", "選択項目=1"}, {"--rows", "1,x"}, "行の指定が正しくありません: 1,x\n"},
        {{"--flag", "選択項目=1"}, {"--rows", "3-2"}, "行の指定が正しくありません: 3-2\n"},
        {{"--flag", "選択項目=1"}, {"--rows", "1-3"}, "行番号が範囲外です: 3 (項目数 2)\n"},
        {{"--flag", "フォルダ作成=1"},
         {},
         "「フォルダ作成」のジョブは make-folders で実行してください\n"},
        {{"--folder", "missing"},
         {},
         "フォルダを読み込めません: @missing/ (指定されたファイルが見つかりません。)\n"},
        {{"--folder", "a.txt"},
         {},
         "フォルダを読み込めません: @a.txt/ (ディレクトリ名が無効です。)\n"},
        {{},
         {"--folder", "b.txt"},
         "フォルダを読み込めません: @b.txt/ (ディレクトリ名が無効です。)\n"},
        {{}, {"--ext", ""}, "拡張子を入力してください。\n"},
    };
    writeFiles({"a.txt", "b.txt"});
    for (const Case& c : cases) {
        std::vector<std::string> job{"--method", "置換"};
        job.insert(job.end(), c.job.begin(), c.job.end());
        std::vector<std::string> args{"preview", makeJob(job)};
        args.insert(args.end(), c.run.begin(), c.run.end());
        const CliResult r = cli(args);
        const std::string err = inFolder(c.err);
        EXPECT_EQ(r.status, 2) << c.err;
        EXPECT_EQ(r.err, err);
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(CliPreview, RefusesAFolderItCannotList) {
    struct Case {
        std::vector<std::string> job;  // make-job options after --method 置換
        std::string err;
    };
    const Case cases[] = {
        {{"--folder", "locked"},
         "フォルダを読み込めません: @locked/ (アクセスが拒否されました。)\n"},
        {{"--folder", ".", "--flag", "サブフォルダ=1"},
         "フォルダを読み込めません: @locked/ (アクセスが拒否されました。)\n"},
    };
    files.write("locked/a.txt", "a");
    files.write("b.txt", "b");
    runWherePermissionsApply({config.path(), files.path()},
                             [&] {
                                 ::chmod((files.path() / "locked").c_str(), 0);
                                 for (const Case& c : cases) {
                                     std::vector<std::string> job{"--method", "置換",  "--set",
                                                                  "変更前=a", "--set", "変更後=x"};
                                     job.insert(job.end(), c.job.begin(), c.job.end());
                                     const CliResult r = cli({"preview", makeJob(job)});
                                     EXPECT_EQ(r.status, 2) << c.err;
                                     EXPECT_EQ(r.err, inFolder(c.err));
                                     EXPECT_EQ(r.out, "");
                                 }
                                 ::chmod((files.path() / "locked").c_str(), 0700);
                             },
                             {SORAMINE_CLI});
}

TEST_F(CliPreview, RefusesAFolderTextWithNul) {
    // The system would take the folder only up to the NUL: "sub", which exists.
    writeFiles({"a.txt"});
    files.write("sub/a.txt", "a");
    const std::string job =
        makeJob({"--method", "置換", "--set", "変更前=a", "--folder", "subQtail"});
    std::string bytes = config.read("job.qrn");
    const std::string marker("Q\0t\0a\0i\0l\0", 10);
    const auto at = bytes.find(marker);
    ASSERT_NE(at, std::string::npos);
    bytes[at] = '\0';
    config.write("job.qrn", bytes);
    for (const char* command : {"preview", "run"}) {
        const CliResult r = cli({command, job});
        EXPECT_EQ(r.status, 2) << command;
        EXPECT_EQ(r.err, inFolder("パスに NUL 文字が含まれています: @sub\\0tail\n")) << command;
        EXPECT_EQ(r.out, "") << command;
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"a.txt", "sub"}));
}

TEST_F(CliPreview, IgnoresASettingsFileOthersCanWrite) {
    writeFiles({"a.txt", "b.txt"});
    // Read, this file would leave every read-only file out.
    const auto ini = config.write("soramine/ソラミネ.ini", "[詳細設定]\r\n読み取り=0\r\n");
    ::chmod(ini.c_str(), 0666);
    ::chmod((files.path() / "a.txt").c_str(), 0444);
    const CliResult r =
        cli({"preview", makeJob({"--method", "置換", "--set", "変更前=a", "--set", "変更後=x"})});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              "他のユーザーが書き込めるファイルなので読み込みません: " + ini.string() + "\n");
    EXPECT_EQ(r.out, kHeader + "a.txt→x.txt\nb.txt→変更無し\n");
}

}  // namespace
}  // namespace soramine::testing
