// Jobs of the methods that read or write file contents, run as a user runs them.
#include <string>
#include <vector>

#include "cli/job_fixture.h"

namespace soramine::testing {
namespace {

using CliMethods = CliJobTest;

TEST_F(CliMethods, HashNames) {
    struct Case {
        std::vector<std::string> job;  // make-job options after --method ハッシュ
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {{}, {"00000000", "352441C2.txt"}},
        {{"--set", "種類=1", "--set", "アルファベット=1", "--set", "囲み=1"},
         {"[900150983cd24fb0d6963f7d28e17f72].txt", "[d41d8cd98f00b204e9800998ecf8427e]"}},
        {{"--set", "種類=2", "--set", "方法=1", "--set", "追加位置=0"},
         {"A9993E364706816ABA3E25717850C26C9CD0D89Da.txt",
          "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709README"}},
    };
    for (const Case& c : cases) {
        for (const auto& name : names())
            std::filesystem::remove(files.path() / name);
        files.write("a.txt", "abc");
        files.write("README", "");
        std::vector<std::string> job{"--method", "ハッシュ"};
        job.insert(job.end(), c.job.begin(), c.job.end());
        const CliResult r = cli({"run", makeJob(job)});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "実行結果　(2 / 2) 処理しました。\n");
        EXPECT_EQ(names(), c.after);
    }
}

}  // namespace
}  // namespace soramine::testing
