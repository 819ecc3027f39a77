#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "support/temp_dir.h"

namespace soramine::testing {
namespace {

// One printed row: name, folder, created, modified, size.
using Fields = std::vector<std::string>;

std::vector<Fields> rowsOf(const std::string& out) {
    std::vector<Fields> rows;
    std::size_t start = 0;
    for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
        Fields fields;
        const std::string line = out.substr(start, end - start);
        std::size_t from = 0;
        for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
            fields.push_back(line.substr(from, tab - from));
        fields.push_back(line.substr(from));
        rows.push_back(fields);
    }
    EXPECT_EQ(start, out.size()) << "the output does not end in a line feed";
    return rows;
}

// A folder of real files (b.txt, 写真.jpg, sub/c.txt, sub/深い/d.JPG and two hidden files)
// listed with settings of its own and the time zone of the date texts fixed.
class CliList : public ::testing::Test {
  protected:
    CliList() {
        files.write("b.txt", "12");
        files.write("写真.jpg", "12345");
        files.write("sub/c.txt");
        files.write("sub/深い/d.JPG", std::string(1234, 'x'));
        files.write(".dot.txt");
        files.write("listed.txt");
        files.write(".hidden", "listed.txt\n");
    }

    CliResult list(std::vector<std::string> args) const {
        args.insert(args.begin(), "list");
        return runCli(args, {"XDG_CONFIG_HOME=" + config.path().string(), "TZ=Asia/Tokyo"},
                      files.path());
    }

    // The files' folder as the rows print it.
    std::string root() const { return std::filesystem::canonical(files.path()).string() + "/"; }

    TempDir config;
    TempDir files;
};

TEST_F(CliList, PrintsOneRowPerImportedItem) {
    struct Case {
        std::vector<std::string> args;  // "." is the files' folder, the working folder
        std::vector<Fields> rows;       // name, folder below root(), size; in any order
    };
    const Fields b{"b.txt", "", "2"}, photo{"写真.jpg", "", "5"}, c{"c.txt", "sub/", "0"},
        d{"d.JPG", "sub/深い/", "1,234"};
    const Case cases[] = {
        {{"."}, {b, photo}},
        {{"--subfolders", "."}, {b, photo, c, d}},
        {{"--ext", "jpg", "."}, {photo}},
        {{"--subfolders", "--ext=jpg", "."}, {photo, d}},
        {{"--subfolders", "--ext", "* -txt", "."}, {photo, d}},
        {{"--folder-mode", "."}, {{"sub", "", "-"}}},
        // Several paths are imported as paths given on the command line: a folder brings its
        // own files only.
        {{"b.txt", "sub"}, {b, c}},
    };
    for (const Case& k : cases) {
        std::string label;
        for (const auto& a : k.args)
            label += a + " ";
        const CliResult r = list(k.args);
        EXPECT_EQ(r.status, 0) << label << r.err;
        EXPECT_EQ(r.err, "") << label;
        std::vector<Fields> got;
        for (const Fields& row : rowsOf(r.out)) {
            ASSERT_EQ(row.size(), 5u) << label << r.out;
            EXPECT_NE(row[2], "") << label << "no creation date";
            EXPECT_NE(row[3], "") << label << "no modification date";
            got.push_back({row[0], row[1], row[4]});
        }
        std::vector<Fields> expected;
        for (Fields row : k.rows) {
            row[1] = root() + row[1];
            expected.push_back(row);
        }
        std::sort(got.begin(), got.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(got, expected) << label;
    }
}

TEST_F(CliList, SortsByNameAndPrintsTheLocalModificationTime) {
    using namespace std::chrono;
    // 2021-03-04 05:06:07 in Tokyo.
    const auto modified = sys_days{2021y / March / 3} + hours(20) + minutes(6) + seconds(7);
    std::filesystem::last_write_time(files.path() / "sub" / "c.txt",
                                     file_clock::from_sys(modified));
    const CliResult r = list({"--subfolders", "--sort", "."});
    EXPECT_EQ(r.status, 0) << r.err;
    std::vector<std::string> names;
    for (const Fields& row : rowsOf(r.out)) {
        names.push_back(row.at(0));
        if (row[0] == "c.txt") {
            EXPECT_EQ(row.at(3), "2021年03月04日、05:06:07");
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"b.txt", "c.txt", "d.JPG", "写真.jpg"}));
}

TEST_F(CliList, AMissingPathIsReportedOnStderr) {
    const std::vector<std::string> cases[] = {
        {root() + "missing"},
        {"missing"},
        {"--subfolders", "b.txt", "missing"},
    };
    for (const auto& args : cases) {
        const CliResult r = list(args);
        EXPECT_NE(r.err, "") << args.back();
        if (args.size() == 1) {
            EXPECT_EQ(r.out, "") << args.back();
        }
    }
}

}  // namespace
}  // namespace soramine::testing
