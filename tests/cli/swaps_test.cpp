#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/job_fixture.h"

namespace soramine::testing {
namespace {

using CliSwaps = CliJobTest;

// "0001.txt" ... for the numbers first to last, four digits.
std::vector<std::string> numbered(int first, int last) {
    std::vector<std::string> out;
    for (int i = first; i <= last; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "%04d.txt", i);
        out.push_back(name);
    }
    return out;
}

TEST_F(CliSwaps, ItemsTakeEachOthersNamesAndTheUndoGivesThemBack) {
    struct Case {
        const char* what;
        std::vector<std::string> job;      // make-job options
        std::vector<std::string> files;    // in list order
        std::vector<std::string> renamed;  // what files[i] becomes with --allow-swaps
        std::string withoutSwaps;          // the result line of a run without the switch
    };
    const std::vector<std::string> reorder{"--method", "並べ替え", "--set", "区切り=1-1"};
    const std::vector<std::string> rotate{"--method",     "並べ替え", "--set",
                                          "区切り=1-1-1", "--set",    "並び順=2-3-1"};
    const auto shift = [](const char* start) {
        return std::vector<std::string>{"--method", "連番",   "--set", "変更名=*",
                                        "--set",    "桁数=3", "--set", start};
    };
    std::vector<std::string> swapJob = reorder;
    swapJob.insert(swapJob.end(), {"--set", "並び順=2-1"});
    const Case cases[] = {
        {"one swap",
         swapJob,
         {"ab.txt", "ba.txt"},
         {"ba.txt", "ab.txt"},
         "実行結果　(0 / 2) 処理しました。"},
        {"two swaps",
         swapJob,
         {"ab.txt", "ba.txt", "cd.txt", "dc.txt"},
         {"ba.txt", "ab.txt", "dc.txt", "cd.txt"},
         "実行結果　(0 / 4) 処理しました。"},
        {"rotation of three",
         rotate,
         {"abc.txt", "bca.txt", "cab.txt"},
         {"bca.txt", "cab.txt", "abc.txt"},
         "実行結果　(0 / 3) 処理しました。"},
        {"3 shifted up by one", shift("開始番号=2"), numbered(1, 3), numbered(2, 4),
         "実行結果　(1 / 3) 処理しました。"},
        {"1,000 shifted up by one", shift("開始番号=2"), numbered(1, 1000), numbered(2, 1001),
         "実行結果　(1 / 1000) 処理しました。"},
        {"1,000 shifted down by one", shift("開始番号=0"), numbered(1, 1000), numbered(0, 999),
         "実行結果　(1000 / 1000) 処理しました。"},
    };
    for (const Case& c : cases) {
        const std::string job = makeJob(c.job);
        const auto fresh = [&] {
            for (const auto& name : names())
                std::filesystem::remove(files.path() / name);
            writeFiles(c.files);
        };
        std::vector<std::string> sorted = c.renamed;
        std::sort(sorted.begin(), sorted.end());

        // Without the switch nothing changes: names taken at their turn fail.
        fresh();
        const CliResult plain = cli({"run", job});
        EXPECT_EQ(plain.out.substr(0, plain.out.find('\n')), c.withoutSwaps) << c.what;
        ASSERT_EQ(cli({"undo"}).status, c.withoutSwaps.find("(0 /") != std::string::npos ? 2 : 0)
            << c.what;

        fresh();
        std::string preview = "変更前→変更後\n\n";
        for (std::size_t i = 0; i < c.files.size(); ++i)
            preview += c.files[i] + "→" + c.renamed[i] + "\n";
        EXPECT_EQ(cli({"preview", job, "--allow-swaps"}).out, preview) << c.what;

        const CliResult run = cli({"run", job, "--allow-swaps"});
        EXPECT_EQ(run.status, 0) << c.what << run.out << run.err;
        EXPECT_EQ(names(), sorted) << c.what;
        for (std::size_t i = 0; i < c.files.size(); ++i)
            ASSERT_EQ(files.read(c.renamed[i]), c.files[i]) << c.what << ": contents follow";
        // The run is listed with its items, each once: a parked one is no second item.
        const CliResult list = cli({"undo", "--list"});
        EXPECT_TRUE(list.out.ends_with("\t" + std::to_string(c.files.size()) + "件\n"))
            << c.what << list.out;

        const CliResult undo = cli({"undo"});
        EXPECT_EQ(undo.status, 0) << c.what << undo.out << undo.err;
        std::vector<std::string> before = c.files;
        std::sort(before.begin(), before.end());
        EXPECT_EQ(names(), before) << c.what;
        for (const auto& name : c.files)
            ASSERT_EQ(files.read(name), name) << c.what;
        EXPECT_TRUE(journals().empty()) << c.what;
    }
}

}  // namespace
}  // namespace soramine::testing
