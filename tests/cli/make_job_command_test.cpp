#include <string>
#include <vector>

#include "cli/job_fixture.h"

namespace soramine::testing {
namespace {

using CliMakeJob = CliJobTest;

std::string flagLines(const std::string& setOnes) {
    std::string out;
    for (const char* flag : {"選択項目", "自動回避", "サブフォルダ", "取り込み方式", "バックアップ",
                             "フォルダモード", "フォルダ作成", "移動", "コピー"}) {
        const bool on = setOnes.find(std::string(flag) + ";") != std::string::npos;
        out += std::string(flag) + (on ? "=1\n" : "=0\n");
    }
    return out;
}

TEST_F(CliMakeJob, ShowJobPrintsWhatMakeJobWrote) {
    struct Case {
        std::vector<std::string> args;
        std::string head;     // method, folder and extension lines ("@" = the files' folder)
        std::string flagsOn;  // "name;" for each flag that is 1
        std::string page;
    };
    const Case cases[] = {
        {{"--method", "置換"},
         "method=置換\nfolder=@\next=*\n",
         "",
         "置換方法=0\n区別=1\n拡張子=1\n位置=1\n変更前=new\n変更後=after\n正規表現=0\n"},
        {{"--method", "置換", "--ext", "jpg -txt", "--flag", "自動回避=1", "--flag=バックアップ=1",
          "--flag", "移動=1", "--set", "変更前=a\tb", "--set", "変更後=c=d", "--set", "区別=0",
          "--set", "位置=12"},
         "method=置換\nfolder=@\next=jpg -txt\n",
         "自動回避;バックアップ;移動;",
         "置換方法=0\n区別=0\n拡張子=1\n位置=12\n変更前=a\tb\n変更後=c=d\n正規表現=0\n"},
        {{"--method", "連番", "--folder", "/tmp", "--flag", "フォルダモード=1", "--flag",
          "選択項目=1", "--set", "開始番号=-5", "--set", "桁数=4", "--set", "変更名=x_*"},
         "method=連番\nfolder=/tmp\next=フォルダモード\n",
         "選択項目;フォルダモード;",
         "ラジオ=0\n文字=0\n桁数=4\n開始番号=-5\n増減値=1\n変更名=x_*\n追加位置=0\n拡張子の=0\n"
         "先頭から=0\n文字目=1\n"},
        // In add mode the job keeps where the number goes.
        {{"--method", "連番", "--set", "ラジオ=1", "--set", "追加位置=2", "--set", "先頭から=1",
          "--set", "文字目=3"},
         "method=連番\nfolder=@\next=*\n",
         "",
         "ラジオ=1\n文字=0\n桁数=2\n開始番号=1\n増減値=1\n変更名=Sample_*\n追加位置=2\n拡張子の=0\n"
         "先頭から=1\n文字目=3\n"},
        {{"--method", "追加", "--set", "追加位置=1", "--set", "文字=_v2"},
         "method=追加\nfolder=@\next=*\n",
         "",
         "追加位置=1\n拡張子の=0\n先頭から=0\n文字目=1\n文字=_v2\n"},
    };
    for (const Case& c : cases) {
        const std::string job = makeJob(c.args);
        const CliResult r = cli({"show-job", job});
        std::string head = c.head;
        if (const auto at = head.find('@'); at != std::string::npos)
            head.replace(at, 1, folder().substr(0, folder().size() - 1));
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, head + flagLines(c.flagsOn) + c.page) << c.args[1];
    }
}

TEST_F(CliMakeJob, RefusesWhatIsNotAJobSetting) {
    struct Case {
        std::vector<std::string> args;
        std::string errStart;
    };
    const Case cases[] = {
        {{"--ext", "*"}, "--method でリネーム方式を指定してください\n"},
        {{"--method", "改名"},
         "不明なリネーム方式です: 改名\n使えるリネーム方式: 連番, 置換, 追加, 削除 / 抽出, MP3, "
         "拡張子, タイムスタンプ, 日時, テキスト, ハッシュ, ランダム, 並べ替え, 属性, スクリプト, "
         "その他\n"},
        {{"--method", "置換", "--flag", "上書き=1"},
         "不明なフラグです: 上書き\n使えるフラグ: 選択項目, 自動回避, サブフォルダ, 取り込み方式, "
         "バックアップ, フォルダモード, フォルダ作成, 移動, コピー\n"},
        {{"--method", "置換", "--flag", "移動=2"}, "フラグの値は 0 か 1 です: 移動=2\n"},
        {{"--method", "置換", "--flag", "移動"},
         "--flag は NAME=0|1 の形で指定してください: 移動\n"},
        {{"--method", "置換", "--flag", "移動=1", "--flag", "コピー=1"},
         "「移動」と「コピー」は同時にオンにできません\n"},
        {{"--method", "置換", "--set", "開始番号=1"},
         "不明な設定です: 開始番号\n「置換」の設定: 置換方法, 区別, 拡張子, 位置, 変更前, "
         "変更後, 正規表現\n"},
        {{"--method", "置換", "--set", "区別=yes"}, "数値を指定してください: 区別=yes\n"},
        {{"--method", "置換", "--set", "区別=99999999999"},
         "数値を指定してください: 区別=99999999999\n"},
        {{"--method", "置換", "--flag", "フォルダモード=1", "--ext", "jpg"},
         "フォルダモードのジョブには --ext を指定できません\n"},
        {{"--method", "置換", "--frag", "移動=1"}, "不明なオプションです: --frag\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"make-job", "out.qrn"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliResult r = cli(args);
        EXPECT_EQ(r.status, 2) << c.errStart;
        EXPECT_EQ(r.err.substr(0, c.errStart.size()), c.errStart);
        EXPECT_FALSE(files.exists("out.qrn")) << c.errStart;
    }
}

TEST_F(CliMakeJob, ShowJobRefusesWhatIsNotAJob) {
    files.write("plain.qrn", "just some text, long enough to hold a header and two records....");
    const CliResult wrong = cli({"show-job", "plain.qrn"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.err, "ソラミネファイルではありません\n");
    const CliResult missing = cli({"show-job", "missing.qrn"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "ファイルを開くことが出来ませんでした\n");
}

}  // namespace
}  // namespace soramine::testing
