#include <string>
#include <vector>

#include "cli/job_fixture.h"

namespace soramine::testing {
namespace {

using CliMakeFolders = CliJobTest;

TEST_F(CliMakeFolders, MakesTheFoldersTheJobNames) {
    struct Case {
        std::vector<std::string> job;   // make-job options
        std::vector<std::string> make;  // make-folders options after --dest DIR
        std::vector<std::string> tree;  // what the destination holds afterwards
        std::string out;                // stdout ("@" for the destination)
        int status;
    };
    const Case cases[] = {
        {{"--method", "連番", "--set", "変更名=d*"},
         {},
         {"d001", "d002"},
         "@d001\n@d002\nフォルダを作成しました\n",
         0},
        {{"--method", "連番", "--set", "変更名=d*"},
         {"--count", "3", "--nested"},
         {"d001", "d001/d002", "d001/d002/d003"},
         "@d001\n@d001/d002\n@d001/d002/d003\nフォルダを作成しました\n",
         0},
        {{"--method", "テキスト", "--set", "元テキスト=0"},
         {"--count", "16", "--clipboard-file", "LINES"},
         {"a"},
         "@a\n作成できなかったフォルダがあります　(1 / 2)\n"
         "既に存在するファイルを作成することはできません。 - @x\n",
         1},
        {{"--method", "ランダム", "--set", "文字数=6", "--set", "数字=0", "--set", "大文字=0"},
         {"--count", "16"},
         {},
         "",
         0},
    };
    for (const Case& c : cases) {
        const TempDir dest;
        dest.write("keep", "k");
        dest.write("x/old", "o");
        files.write("lines.txt", "a\r\nx\r\n");
        std::vector<std::string> args{"make-folders", makeJob(c.job), "--dest",
                                      dest.path().string()};
        for (const std::string& arg : c.make)
            args.push_back(arg == "LINES" ? (files.path() / "lines.txt").string() : arg);
        const CliResult r = cli(args);
        EXPECT_EQ(r.status, c.status) << r.err;
        std::vector<std::string> tree;
        for (const auto& e : std::filesystem::recursive_directory_iterator(dest.path())) {
            const std::string relative = std::filesystem::relative(e.path(), dest.path()).string();
            if (relative != "keep" && relative != "x" && relative != "x/old")
                tree.push_back(relative);
        }
        std::sort(tree.begin(), tree.end());
        EXPECT_EQ(dest.read("keep"), "k");
        EXPECT_EQ(dest.read("x/old"), "o");
        if (c.job[1] == "ランダム") {
            EXPECT_EQ(tree.size(), 16u);
            for (const std::string& name : tree)
                EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos)
                    << name;
            continue;
        }
        EXPECT_EQ(tree, c.tree) << r.out;
        std::string out = c.out;
        for (std::size_t at; (at = out.find('@')) != std::string::npos;)
            out.replace(at, 1, utf8(dest.folder()));
        EXPECT_EQ(r.out, out);
    }
}

TEST_F(CliMakeFolders, RefusesBeforeMakingAnything) {
    struct Case {
        std::vector<std::string> job;
        std::vector<std::string> make;  // after the job; "DEST" for the destination
        std::string err;
    };
    const Case cases[] = {
        {{"--method", "連番"},
         {"--dest", "DEST", "--count", "1"},
         "作成個数の値が不正です。 (2～16): 1\n"},
        {{"--method", "連番"},
         {"--dest", "DEST", "--count", "17"},
         "作成個数の値が不正です。 (2～16): 17\n"},
        {{"--method", "連番"}, {"--count", "2"}, "--dest で作成先のフォルダを指定してください\n"},
        {{"--method", "連番"}, {"--dest", "missing"}, "フォルダが見つかりません: @missing\n"},
        {{"--method", "置換"},
         {"--dest", "DEST"},
         "フォルダ作成できるリネーム方式ではありません (フォルダ作成に使えるのは連番、"
         "テキスト、ランダムのジョブです)\n"},
        {{"--method", "ランダム", "--set", "文字列=1", "--set", "ファイル名=missing.txt"},
         {"--dest", "DEST"},
         "テキストファイルが不正です\n"},
        {{"--method", "テキスト", "--set", "元テキスト=0"},
         {"--dest", "DEST"},
         "クリップボードオープンエラー\t\n"},
    };
    const TempDir dest;
    for (const Case& c : cases) {
        std::vector<std::string> args{"make-folders", makeJob(c.job)};
        for (const std::string& arg : c.make)
            args.push_back(arg == "DEST" ? dest.path().string() : arg);
        const CliResult r = cli(args);
        EXPECT_EQ(r.status, 2) << c.err;
        std::string err = c.err;
        if (const auto at = err.find('@'); at != std::string::npos)
            err.replace(at, 1, folder());
        EXPECT_EQ(r.err.substr(0, err.size()), err);  // usage errors go on with the usage
        EXPECT_TRUE(std::filesystem::is_empty(dest.path())) << c.err;
    }
}

}  // namespace
}  // namespace soramine::testing
