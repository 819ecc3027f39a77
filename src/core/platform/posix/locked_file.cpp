#include "core/platform/locked_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "core/platform/posix/native_path.h"

namespace soramine::platform {
namespace {

Expected<int, OsError> openLocked(std::u16string_view path, int flags, mode_t mode) {
    const int fd = ::open(nativePath(path).c_str(), flags | O_CLOEXEC, mode);
    if (fd < 0)
        return Unexpected{OsError{errno}};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return Unexpected{OsError{error}};
    }
    return fd;
}

}  // namespace

Expected<LockedFile, OsError> LockedFile::create(std::u16string_view path) {
    auto fd = openLocked(path, O_WRONLY | O_CREAT | O_EXCL | O_APPEND, 0600);
    if (!fd)
        return Unexpected{fd.error()};
    return LockedFile(*fd);
}

Expected<LockedFile, OsError> LockedFile::lock(std::u16string_view path) {
    auto fd = openLocked(path, O_RDONLY, 0);
    if (!fd)
        return Unexpected{fd.error()};
    return LockedFile(*fd);
}

LockedFile::LockedFile(LockedFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

LockedFile::~LockedFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

Status LockedFile::append(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Unexpected{OsError{errno}};
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

Status LockedFile::sync() {
    if (::fdatasync(fd_) != 0)
        return Unexpected{OsError{errno}};
    return {};
}

bool isLockedByAnother(std::u16string_view path) {
    auto held = LockedFile::lock(path);
    return !held && isLockHeld(held.error());
}

bool isLockHeld(OsError e) {
    return e.code == EWOULDBLOCK;
}

}  // namespace soramine::platform
