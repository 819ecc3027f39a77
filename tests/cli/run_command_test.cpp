#include <string>
#include <vector>

#include "cli/job_fixture.h"

namespace soramine::testing {
namespace {

using CliRun = CliJobTest;

TEST_F(CliRun, RenamesAndReportsTheResult) {
    struct Case {
        std::vector<std::string> files;
        std::vector<std::string> job;  // make-job options after --method 置換
        std::vector<std::string> run;  // run options after the job
        int status;
        std::string out;  // "@" = the files' folder
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {{"a1.txt", "a2.txt", "c.txt"},
         {"--set", "変更前=a", "--set", "変更後=b"},
         {},
         0,
         "実行結果　(2 / 3) 処理しました。\n",
         {"b1.txt", "b2.txt", "c.txt"}},
        {{"a.txt", "b.txt"},
         {"--set", "変更前=a", "--set", "変更後=b"},
         {},
         1,
         "実行結果　(0 / 2) 処理しました。\n既に存在するファイルを作成することはできません。 - "
         "@b.txt\n",
         {"a.txt", "b.txt"}},
        {{"a.txt", "b.txt"},
         {"--set", "変更前=a", "--set", "変更後=b", "--flag", "自動回避=1"},
         {},
         0,
         "実行結果　(1 / 2) 処理しました。\n",
         {"b.txt", "b[1].txt"}},
        {{"a1.txt", "a2.txt", "a3.txt"},
         {"--set", "変更前=a", "--set", "変更後=b", "--flag", "選択項目=1"},
         {"--rows", "1,3"},
         0,
         "実行結果　(2 / 2) 処理しました。\n",
         {"a2.txt", "b1.txt", "b3.txt"}},
        {{"a1.txt", "a2.txt", "a3.txt"},
         {"--set", "変更前=a", "--set", "変更後=b", "--flag", "選択項目=1"},
         {"--rows=2-3", "--ext", "txt"},
         0,
         "実行結果　(2 / 2) 処理しました。\n",
         {"a1.txt", "b2.txt", "b3.txt"}},
    };
    for (const Case& c : cases) {
        for (const auto& name : names())
            std::filesystem::remove(files.path() / name);
        writeFiles(c.files);
        std::vector<std::string> job{"--method", "置換"};
        job.insert(job.end(), c.job.begin(), c.job.end());
        std::vector<std::string> args{"run", makeJob(job)};
        args.insert(args.end(), c.run.begin(), c.run.end());
        const CliResult r = cli(args);
        const std::string out = inFolder(c.out);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(r.out, out);
        EXPECT_EQ(names(), c.after) << c.out;
    }
}

TEST_F(CliRun, RefusesToStartWithoutWhatTheJobNeeds) {
    struct Case {
        std::vector<std::string> job;  // make-job options after --method 置換
        std::vector<std::string> run;  // run options after the job
        std::string err;
    };
    const Case cases[] = {
        {{"--flag", "選択項目=1"},
         {},
         "このジョブは「選択ファイルのみリネーム」がオンです。--rows で対象の行を指定してください "
         "(例: --rows 1,3,5-7)\n"},
        {{"--flag", "移動=1"},
         {},
         "このジョブは「リネーム後移動」がオンです。--dest で移動先のフォルダを指定してください\n"},
        {{"--flag", "コピー=1"},
         {},
         "このジョブは「リネーム後コピー」がオンです。--dest "
         "でコピー先のフォルダを指定してください\n"},
        {{},
         {"--dest", "/"},
         "--dest は「リネーム後移動」か「リネーム後コピー」がオンのジョブにだけ使えます\n"},
        {{"--flag", "移動=1"}, {"--dest", "nowhere"}, "フォルダが見つかりません: @nowhere\n"},
        {{"--set", "置換方法=1", "--set", "位置=0"}, {}, "変更位置が不正です。\n"},
        {{"--flag", "フォルダ作成=1"},
         {},
         "「フォルダ作成」のジョブは make-folders で実行してください\n"},
        {{},
         {"--folder", "a.txt"},
         "フォルダを読み込めません: @a.txt/ (ディレクトリ名が無効です。)\n"},
    };
    writeFiles({"a.txt"});
    for (const Case& c : cases) {
        std::vector<std::string> job{"--method", "置換", "--set", "変更前=a", "--set", "変更後=b"};
        job.insert(job.end(), c.job.begin(), c.job.end());
        std::vector<std::string> args{"run", makeJob(job)};
        args.insert(args.end(), c.run.begin(), c.run.end());
        const CliResult r = cli(args);
        const std::string err = inFolder(c.err);
        EXPECT_EQ(r.status, 2) << c.err;
        EXPECT_EQ(r.err, err);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(names(), std::vector<std::string>{"a.txt"});
    }
    files.write("plain.qrn", std::string(80, 'x'));
    const CliResult wrong = cli({"run", "plain.qrn"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.err, "ソラミネファイルではありません\n");
}

TEST_F(CliRun, MovesAfterTheRunAndAnswersTheOverwriteQuestion) {
    TempDir dest;
    const std::string job =
        makeJob({"--method", "置換", "--set", "変更前=a", "--set", "変更後=b", "--flag", "移動=1"});
    struct Case {
        std::vector<std::string> run;  // after --dest
        int status;
        std::string err;
        std::vector<std::string> after;  // in the files' folder
        std::string movedContent;        // of dest/b.txt
    };
    const Case cases[] = {
        {{},
         1,
         "確認: b.txt  移動先に同名ファイルが存在します。 上書きしますか？ → いいえ\n",
         {"b.txt"},
         "old"},
        {{"--overwrite"},
         0,
         "確認: b.txt  移動先に同名ファイルが存在します。 上書きしますか？ → はい\n",
         {},
         "a.txt"},
    };
    for (const Case& c : cases) {
        for (const auto& name : names())
            std::filesystem::remove(files.path() / name);
        writeFiles({"a.txt"});
        dest.write("b.txt", "old");
        std::vector<std::string> args{"run", job, "--dest", dest.path().string()};
        args.insert(args.end(), c.run.begin(), c.run.end());
        const CliResult r = cli(args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "実行結果　(1 / 1) 処理しました。\n");
        EXPECT_EQ(names(), c.after);
        EXPECT_EQ(dest.read("b.txt"), c.movedContent);
    }
}

}  // namespace
}  // namespace soramine::testing
