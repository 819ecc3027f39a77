#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "support/temp_dir.h"

namespace soramine::testing {
namespace {

// soramine-cli list over a folder of real files whose modification time is
// 2006-03-24 12:34:56 UTC, read in UTC.
class CliList : public ::testing::Test {
  protected:
    CliList() {
        for (const auto& [name, content] :
             std::vector<std::pair<std::string, std::string>>{{"b.txt", std::string(1234, 'b')},
                                                              {"a.txt", ""},
                                                              {"ソラミネ.jpg", "jpg"},
                                                              {"caf\xE9.txt", ""},
                                                              {".dot.txt", ""},
                                                              {"listed.txt", ""},
                                                              {".hidden", "listed.txt\n"},
                                                              {"sub/c.txt", "cc"}}) {
            const auto path = files.write(name, content);
            const timespec times[2] = {{1143203696, 0}, {1143203696, 0}};
            utimensat(AT_FDCWD, path.c_str(), times, 0);
        }
        const timespec times[2] = {{1143203696, 0}, {1143203696, 0}};
        utimensat(AT_FDCWD, (files.path() / "sub").c_str(), times, 0);
    }

    CliResult list(std::vector<std::string> args) const {
        args.insert(args.begin(), "list");
        return runCli(args, {"XDG_CONFIG_HOME=" + config.path().string(), "TZ=UTC"}, files.path());
    }

    // The printed rows without their creation times, which a test cannot set.
    static std::string withoutCreated(const std::string& out) {
        std::istringstream in(out);
        std::string line, rows;
        while (std::getline(in, line)) {
            size_t second = line.find('\t', line.find('\t') + 1);
            size_t third = line.find('\t', second + 1);
            if (second == std::string::npos || third == std::string::npos)
                return "malformed: " + line;
            rows += line.substr(0, second + 1) + line.substr(third + 1) + "\n";
        }
        return rows;
    }

    std::string folder() const { return std::filesystem::canonical(files.path()).string() + "/"; }

    TempDir config;
    TempDir files;
};

TEST_F(CliList, PrintsTheRowsOfTheImportInOrder) {
    const std::string at = folder();
    const std::string date = "2006年03月24日、12:34:56";
    auto row = [&](const std::string& name, const std::string& in, const std::string& size) {
        return name + "\t" + in + "\t" + date + "\t" + size + "\n";
    };
    struct Case {
        std::vector<std::string> args;
        std::string rows;  // name, folder, modified, size
    };
    const Case cases[] = {
        {{at},
         row("a.txt", at, "0") + row("b.txt", at, "1,234") + row("caf\xE9.txt", at, "0") +
             row("ソラミネ.jpg", at, "3")},
        {{"--subfolders", "--ext", "txt", "."},
         row("c.txt", at + "sub/", "2") + row("a.txt", at, "0") + row("b.txt", at, "1,234") +
             row("caf\xE9.txt", at, "0")},
        {{"--ext", "* -txt", at}, row("ソラミネ.jpg", at, "3")},
        {{"--folder-mode", at}, row("sub", at, "-")},
        {{at + "b.txt", "sub/", at + "listed.txt", "ソラミネ.jpg"},
         row("b.txt", at, "1,234") + row("c.txt", at + "sub/", "2") + row("ソラミネ.jpg", at, "3")},
    };
    for (const Case& c : cases) {
        const CliResult r = list(c.args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(withoutCreated(r.out), c.rows) << c.args.front();
    }
}

TEST_F(CliList, RefusesWhatItCannotList) {
    CliResult r = list({folder() + "missing.txt"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("見つかりません: ", 0), 0u) << r.err;
    EXPECT_EQ(r.out, "");
    r = list({"--unknown", "."});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("不明なオプションです: --unknown", 0), 0u) << r.err;
}

}  // namespace
}  // namespace soramine::testing
