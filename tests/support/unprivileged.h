#pragma once

#include <filesystem>
#include <functional>
#include <vector>

namespace soramine::testing {

// Runs `body` where the files' permissions apply. They do not stop root, so as root `body`
// runs in a child process that first hands the folders `handedOver` (with everything in them)
// to the user "nobody" and then becomes that user; what fails in the child fails the test.
// The test is skipped when that user cannot execute each of `executables`.
void runWherePermissionsApply(const std::vector<std::filesystem::path>& handedOver,
                              const std::function<void()>& body,
                              const std::vector<std::filesystem::path>& executables = {});

}  // namespace soramine::testing
