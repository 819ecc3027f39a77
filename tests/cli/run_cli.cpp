#include "cli/run_cli.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "support/temp_dir.h"

namespace soramine::testing {

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
    if (child < 0)
        return result;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    auto slurp = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    return result;
}

}  // namespace soramine::testing
