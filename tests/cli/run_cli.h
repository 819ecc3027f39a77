#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace soramine::testing {

struct CliResult {
    int status = -1;  // the exit status; 128 + the signal number when a signal ended it
    std::string out;  // everything written to stdout
    std::string err;  // everything written to stderr
};

// How long one run of the program may take before the test kills it and fails.
inline constexpr std::chrono::seconds kCliTimeLimit{60};

// Waits for `child` to end and returns its status as CliResult::status has it. A child still
// running after `limit` is killed, and the wait fails the current test and returns -1.
int waitForExit(pid_t child, std::chrono::seconds limit = kCliTimeLimit);

// Runs the built soramine-cli with `args` (after the program path) in `workingFolder` (the
// test's own when empty), with `env` ("NAME=value") set on top of the test's environment.
// A run that cannot start or does not end within kCliTimeLimit fails the test (status -1).
CliResult runCli(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
                 const std::filesystem::path& workingFolder = {});

}  // namespace soramine::testing
