#include "cli/run_cli.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

#include "support/temp_dir.h"

namespace soramine::testing {
namespace {

// waitpid that retries when a signal interrupts it; false on any other failure.
bool reap(pid_t child, int* status, int options, pid_t* reaped) {
    for (;;) {
        *reaped = ::waitpid(child, status, options);
        if (*reaped >= 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

}  // namespace

int waitForExit(pid_t child, std::chrono::seconds limit) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + limit;
    // Short naps at first, so that the many quick runs are not slowed down.
    auto nap = std::chrono::microseconds(50);
    int status = 0;
    pid_t reaped = 0;
    while (true) {
        if (!reap(child, &status, WNOHANG, &reaped)) {
            ADD_FAILURE() << "waitpid failed: " << std::strerror(errno);
            return -1;
        }
        if (reaped == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (Clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(nap);
        nap = std::min(nap * 2, std::chrono::microseconds(10000));
    }
    ::kill(child, SIGKILL);
    if (!reap(child, &status, 0, &reaped))
        ADD_FAILURE() << "waitpid failed: " << std::strerror(errno);
    ADD_FAILURE() << "soramine-cli was still running after " << limit.count() << " s; killed it";
    return -1;
}

CliResult runCli(const std::vector<std::string>& args, const std::vector<std::string>& env,
                 const std::filesystem::path& workingFolder) {
    // The output goes to files rather than pipes, so that a chatty program cannot block.
    TempDir capture;
    const std::string outPath = (capture.path() / "stdout").string();
    const std::string errPath = (capture.path() / "stderr").string();
    std::vector<std::string> argv{SORAMINE_CLI};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> argp;
    for (std::string& a : argv)
        argp.push_back(a.data());
    argp.push_back(nullptr);

    CliResult result;
    const pid_t child = fork();
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0)
            ::_exit(126);
        if (!workingFolder.empty() && ::chdir(workingFolder.c_str()) != 0)
            ::_exit(126);
        for (const std::string& e : env) {
            const std::size_t eq = e.find('=');
            ::setenv(e.substr(0, eq).c_str(), eq == std::string::npos ? "" : e.c_str() + eq + 1, 1);
        }
        ::execv(argp[0], argp.data());
        ::_exit(127);
    }
    if (child < 0) {
        ADD_FAILURE() << "fork failed: " << std::strerror(errno);
        return result;
    }
    result.status = waitForExit(child);
    auto slurp = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    return result;
}

}  // namespace soramine::testing
