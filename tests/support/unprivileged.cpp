#include "support/unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace soramine::testing {
namespace {

constexpr int kCannotRun = 77;

void handOver(const std::filesystem::path& folder, uid_t user, gid_t group) {
    if (::lchown(folder.c_str(), user, group) != 0)
        ::_exit(kCannotRun);
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (::lchown(it->path().c_str(), user, group) != 0)
            ::_exit(kCannotRun);
    }
}

}  // namespace

void runWherePermissionsApply(const std::vector<std::filesystem::path>& handedOver,
                              const std::function<void()>& body,
                              const std::vector<std::filesystem::path>& executables) {
    if (::geteuid() != 0) {
        body();
        return;
    }
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t user = nobody != nullptr ? nobody->pw_uid : 65534;
    const gid_t group = nobody != nullptr ? nobody->pw_gid : 65534;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        for (const auto& folder : handedOver)
            handOver(folder, user, group);
        if (::setgroups(0, nullptr) != 0 || ::setgid(group) != 0 || ::setuid(user) != 0)
            ::_exit(kCannotRun);
        for (const auto& program : executables) {
            if (::access(program.c_str(), X_OK) != 0)
                ::_exit(kCannotRun);
        }
        body();
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    ASSERT_GT(child, 0) << "fork: " << std::strerror(errno);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        ASSERT_EQ(errno, EINTR) << "waitpid: " << std::strerror(errno);
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kCannotRun)
        GTEST_SKIP() << "the user nobody cannot run this test here";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the test's part run as nobody failed (its messages are above)";
}

}  // namespace soramine::testing
