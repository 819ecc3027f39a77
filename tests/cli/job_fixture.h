#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "support/temp_dir.h"

namespace soramine::testing {

// The job commands run with a settings folder of their own (XDG_CONFIG_HOME), in a folder of
// real files that is also their working folder.
class CliJobTest : public ::testing::Test {
  protected:
    CliResult cli(const std::vector<std::string>& args) const {
        return runCli(args, {"XDG_CONFIG_HOME=" + config.path().string()}, files.path());
    }

    // Writes a job over the files' folder with make-job; returns its path.
    std::string makeJob(std::vector<std::string> args, const std::string& name = "job.qrn") const {
        const std::string path = (config.path() / name).string();
        args.insert(args.begin(), {"make-job", path});
        const CliResult r = cli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return path;
    }

    // The names in the files' folder, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(files.path()))
            out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    void writeFiles(const std::vector<std::string>& names) const {
        for (const auto& name : names)
            files.write(name, name);
    }

    // The undo journals of the runs, sorted by name (which sorts them by time).
    std::vector<std::filesystem::path> journals() const {
        std::vector<std::filesystem::path> out;
        const auto dir = config.path() / "soramine" / "undo";
        if (std::filesystem::exists(dir)) {
            for (const auto& e : std::filesystem::directory_iterator(dir))
                out.push_back(e.path());
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    // The files' folder as the commands print it.
    std::string folder() const { return std::filesystem::canonical(files.path()).string() + "/"; }
    // An expected text with its "@" standing for folder().
    std::string inFolder(std::string text) const {
        if (const auto at = text.find('@'); at != std::string::npos)
            text.replace(at, 1, folder());
        return text;
    }

    TempDir config;
    TempDir files;
};

}  // namespace soramine::testing
