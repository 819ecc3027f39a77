#include "core/platform/locked_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "core/platform/posix/native_path.h"

namespace soramine::platform {
namespace {

// The first reservation is small (a run of a few items writes a few hundred bytes); each next
// one doubles, up to a mebibyte.
constexpr std::size_t kFirstReservation = 4096;
constexpr std::size_t kLargestReservation = std::size_t{1} << 20;

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
    auto fd = openLocked(path, O_RDWR | O_CREAT | O_EXCL, 0600);
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

Expected<LockedFile, OsError> LockedFile::lockToAppend(std::u16string_view path) {
    auto fd = openLocked(path, O_RDWR, 0);
    if (!fd)
        return Unexpected{fd.error()};
    return LockedFile(*fd);
}

LockedFile::LockedFile(LockedFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      map_(std::exchange(other.map_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

LockedFile& LockedFile::operator=(LockedFile&& other) noexcept {
    if (this != &other) {
        release();
        fd_ = std::exchange(other.fd_, -1);
        map_ = std::exchange(other.map_, nullptr);
        size_ = std::exchange(other.size_, 0);
        capacity_ = std::exchange(other.capacity_, 0);
    }
    return *this;
}

LockedFile::~LockedFile() {
    release();
}

void LockedFile::release() {
    if (map_) {
        ::munmap(map_, capacity_);
        // Ignored: a file left longer ends in zero bytes, which its reader stops at.
        (void)::ftruncate(fd_, static_cast<off_t>(size_));
        map_ = nullptr;
    }
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

Status LockedFile::reserve(std::size_t bytes) {
    std::size_t capacity = std::max(capacity_, kFirstReservation);
    while (capacity < size_ + bytes)
        capacity += std::min(capacity, kLargestReservation);
    // Blocks are allocated now, so that a full disk fails here, not at a write into the map.
    if (const int error = ::posix_fallocate(fd_, 0, static_cast<off_t>(capacity)); error != 0)
        return Unexpected{OsError{error}};
    void* map = map_ ? ::mremap(map_, capacity_, capacity, MREMAP_MAYMOVE)
                     : ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
    if (map == MAP_FAILED)
        return Unexpected{OsError{errno}};
    map_ = static_cast<char*>(map);
    capacity_ = capacity;
    return {};
}

Status LockedFile::append(std::string_view bytes) {
    if (bytes.empty())
        return {};
    if (size_ + bytes.size() > capacity_) {
        if (auto reserved = reserve(bytes.size()); !reserved)
            return reserved;
    }
    std::memcpy(map_ + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
    return {};
}

Status LockedFile::sync() {
    if (::fdatasync(fd_) != 0)
        return Unexpected{OsError{errno}};
    return {};
}

Status makePrivateFolder(std::u16string_view path) {
    if (::mkdir(nativePath(path).c_str(), 0700) != 0)
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
