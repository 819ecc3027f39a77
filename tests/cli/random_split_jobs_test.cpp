// Jobs of the random-name and split-and-reorder methods, made and run from the command line.
#include <regex>
#include <string>
#include <vector>

#include "cli/job_fixture.h"

namespace soramine::testing {
namespace {

using CliRandomSplitJobs = CliJobTest;

TEST_F(CliRandomSplitJobs, RandomDigitsKeepTheExtension) {
    writeFiles({"photo.jpg", "memo.txt"});
    const std::string job = makeJob(
        {"--method", "ランダム", "--set", "文字数=4", "--set", "小文字=0", "--set", "大文字=0"});
    const CliResult r = cli({"run", job});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "実行結果　(2 / 2) 処理しました。\n");
    const std::vector<std::string> after = names();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_TRUE(std::regex_match(after[0], std::regex("[0-9]{4}\\.(jpg|txt)"))) << after[0];
    EXPECT_TRUE(std::regex_match(after[1], std::regex("[0-9]{4}\\.(jpg|txt)"))) << after[1];
}

TEST_F(CliRandomSplitJobs, RandomWordsFromAFileAndItsRefusal) {
    writeFiles({"a.jpg"});
    config.write("words.txt", "\x8d\xf7\r\n");  // "桜" in code page 932
    const std::string words = (config.path() / "words.txt").string();
    CliResult r = cli({"preview", makeJob({"--method", "ランダム", "--set", "文字列=1", "--set",
                                           "文字数=2", "--set", "ファイル名=" + words})});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "変更前→変更後\n\na.jpg→桜桜.jpg\n");

    r = cli({"run", makeJob({"--method", "ランダム", "--set", "文字列=1", "--set",
                             "ファイル名=" + words + ".none"})});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("テキストファイルが不正です"), std::string::npos) << r.err;
    EXPECT_EQ(names(), std::vector<std::string>{"a.jpg"});
}

TEST_F(CliRandomSplitJobs, SplitAndReorder) {
    writeFiles({"20240131.jpg", "abc.txt"});
    const std::string job =
        makeJob({"--method", "並べ替え", "--set", "区切り=4-2-2", "--set", "並び順=3<_>-2-1"});
    CliResult r = cli({"preview", job});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "変更前→変更後\n\n20240131.jpg→31_012024.jpg\nabc.txt→ファイル名を区切れません\n");
    r = cli({"run", job});
    EXPECT_EQ(names(), (std::vector<std::string>{"31_012024.jpg", "abc.txt"}));

    r = cli({"run", makeJob({"--method", "並べ替え", "--set", "区切り=1-2-3-4-5-6"})});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("設定が不正です"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace soramine::testing
