#include "core/platform/process.h"

#include <malloc.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/text/utf.h"

namespace soramine::platform {
namespace {

std::string executableFolderNative() {
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0)
        return "./";
    std::string path(buffer, static_cast<size_t>(n));
    return path.substr(0, path.find_last_of('/') + 1);
}

void makeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    }
}

// The user's home folder: $HOME, else the user database's entry; empty when neither has one.
std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        return home;
    std::vector<char> buffer(16384);
    struct passwd entry;
    struct passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr)
        return {};
    return found->pw_dir;
}

std::atomic<bool>* interruptFlag = nullptr;

extern "C" void onInterrupt(int) {
    if (interruptFlag != nullptr && !interruptFlag->load()) {
        interruptFlag->store(true);
        return;
    }
    ::signal(SIGINT, SIG_DFL);
    ::raise(SIGINT);
}

}  // namespace

std::u16string executableFolder() {
    return text::fromUtf8(executableFolderNative());
}

std::u16string settingsFolder() {
    std::string beside = executableFolderNative();
    if (::access((beside + "ソラミネ.ini").c_str(), W_OK) == 0)
        return text::fromUtf8(beside);
    std::string folder;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        folder = xdg;
    } else if (std::string home = homeFolder(); !home.empty()) {
        folder = home + "/.config";
    } else {
        // No home at all: a folder named for this user and made private (0700), rather than a
        // folder that every user writes into.
        folder = "/tmp/soramine-" + std::to_string(::geteuid());
    }
    folder += "/soramine/";
    makeFolders(folder);
    return text::fromUtf8(folder);
}

bool stderrIsTerminal() {
    return ::isatty(2) == 1;
}

void setInterruptFlag(std::atomic<bool>* flag) {
    interruptFlag = flag;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
}

void keepFreedMemory() {
    // Blocks up to the largest threshold come from the heap rather than from mappings of
    // their own, which are returned and unmapped at once when freed; the heap is not trimmed.
    ::mallopt(M_MMAP_THRESHOLD, 32 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

}  // namespace soramine::platform
