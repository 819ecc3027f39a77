// The reference of the Exif benchmarks: a bare loop that lists a folder and reads the first
// 64 KiB of each of its files, as little as any reader of those files' heads must do.
// Usage: soramine-head-read-bench FOLDER
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: soramine-head-read-bench FOLDER\n", stderr);
        return 2;
    }
    DIR* dir = ::opendir(argv[1]);
    if (!dir)
        return 2;
    static char buffer[64 * 1024];
    unsigned long files = 0, bytes = 0;
    while (const dirent* e = ::readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        const std::string path = std::string(argv[1]) + "/" + e->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        ::close(fd);
        ++files;
        bytes += n > 0 ? static_cast<unsigned long>(n) : 0;
    }
    ::closedir(dir);
    std::printf("%lu files, %lu bytes\n", files, bytes);
    return 0;
}
