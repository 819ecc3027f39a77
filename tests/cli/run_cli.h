#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace soramine::testing {

struct CliResult {
    int status = -1;  // the exit status; 128 + the signal number when a signal ended it
    std::string out;  // everything written to stdout
    std::string err;  // everything written to stderr
};

// Runs the built soramine-cli with `args` (after the program path) in `workingFolder` (the
// test's own when empty), with `env` ("NAME=value") set on top of the test's environment.
CliResult runCli(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
                 const std::filesystem::path& workingFolder = {});

}  // namespace soramine::testing
