#include "core/platform/desktop.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "core/platform/posix/native_path.h"
#include "core/text/utf.h"

namespace soramine::platform {

std::u16string dataHomeFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        return text::fromUtf8(xdg) + u"/";
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] != '\0') {
        home = h;
    } else {
        std::vector<char> buffer(16384);
        struct passwd entry;
        struct passwd* found = nullptr;
        if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
            !found || !found->pw_dir)
            return {};
        home = found->pw_dir;
    }
    return text::fromUtf8(home) + u"/.local/share/";
}

Status createNewFile(std::u16string_view path, std::string_view bytes, bool executable) {
    const std::string native = nativePath(path);
    for (std::size_t slash = native.find('/', 1); slash != std::string::npos;
         slash = native.find('/', slash + 1))
        ::mkdir(native.substr(0, slash).c_str(), 0700);
    const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                          executable ? 0755 : 0644);
    if (fd < 0)
        return Unexpected{OsError{errno}};
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(native.c_str());
            return Unexpected{OsError{error}};
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(native.c_str());
        return Unexpected{OsError{error}};
    }
    return {};
}

}  // namespace soramine::platform
