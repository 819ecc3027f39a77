#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "support/temp_dir.h"

namespace soramine::testing {
namespace {

using Files = std::map<std::string, std::string>;

Files snapshot(const TempDir& dir) {
    Files files;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        files[e.path().filename().string()] = dir.read(e.path().filename().string());
    return files;
}

const std::string kUsage = "使い方: soramine-cli C ファイル1 ファイル2";

TEST(CliOneShot, FormsExitStatusAndMessages) {
    struct Case {
        std::vector<std::string> args;  // relative to the working folder
        int status;
        std::string errStart;  // the start of stderr
        Files after;           // the folder starts with a.txt = "abc", b.jpg = "B"
    };
    const Files before{{"a.txt", "abc"}, {"b.jpg", "B"}};
    const Case cases[] = {
        {{"C", "a.txt", "b.jpg"}, 0, "入れ替えました\n", {{"a.txt", "B"}, {"b.jpg", "abc"}}},
        {{"C", "a.txt"}, 2, "ファイルは2つにしてください\n", before},
        {{"C", "a.txt", "missing"}, 1, "入れ替えられませんでした\n", before},
        {{"c", "a.txt", "b.jpg"}, 2, "不明なコマンドです: c", before},
        {{"/h", "/c", "a.txt"}, 0, "", {{"352441C2.txt", "abc"}, {"b.jpg", "B"}}},
        {{"/h", "/s", "b.jpg"},
         0,
         "",
         {{"a.txt", "abc"}, {"AE4F281DF5A5D0FF3CAD6371F76D5C29B6D953EC.jpg", "B"}}},
        {{"/h", "/x", "a.txt"}, 2, kUsage, before},
        {{"/h", "/m", "missing"}, 1, "ファイルが開けません\n", before},
        {{"/r", "0", "a.txt"}, 2, kUsage, before},
        {{"/h", "/c", "a.txt", "b.jpg"}, 2, "ファイルは1つにしてください\n", before},
        {{"/r", "3", "a.txt", "b.jpg"}, 2, "ファイルは1つにしてください\n", before},
        {{"C", "a.txt", "a.txt"},
         2,
         "2つのパスが同じファイルを指しています\na.txt\na.txt\n",
         before},
        {{"C", "a.txt", "./a.txt"},
         2,
         "2つのパスが同じファイルを指しています\na.txt\n./a.txt\n",
         before},
    };
    for (const Case& c : cases) {
        TempDir dir;
        for (const auto& [name, content] : before)
            dir.write(name, content);
        const CliResult r = runCli(c.args, {}, dir.path());
        const std::string label = c.args[0] + " " + c.args[1];
        EXPECT_EQ(r.status, c.status) << label << "\n" << r.err;
        EXPECT_EQ(r.err.substr(0, c.errStart.size()), c.errStart) << label;
        if (c.errStart.empty()) {
            EXPECT_EQ(r.err, "") << label;
        }
        EXPECT_EQ(snapshot(dir), c.after) << label;
    }
}

TEST(CliOneShot, RandomNameWithAbsolutePath) {
    TempDir dir;
    dir.write("photo.jpg", "x");
    const CliResult r = runCli({"/r", "8", (dir.path() / "photo.jpg").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    const Files after = snapshot(dir);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after.begin()->first.size(), 8u + 4u);
    EXPECT_TRUE(after.begin()->first.ends_with(".jpg"));
}

}  // namespace
}  // namespace soramine::testing
