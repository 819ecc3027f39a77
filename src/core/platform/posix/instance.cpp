#include "core/platform/instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include "core/platform/locked_file.h"
#include "core/platform/posix/native_path.h"
#include "core/text/strings.h"
#include "core/text/utf.h"

namespace soramine::platform {
namespace {

// A folder of this user's that nobody else may enter.
bool isPrivateFolder(const std::string& folder) {
    struct stat st;
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

}  // namespace

std::optional<InstancePaths> instancePaths() {
    const std::u16string name = u"soramine-" + text::decimal(::geteuid());
    std::string folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/')
        folder = runtime;
    if (folder.empty() || !isPrivateFolder(folder)) {
        const char* tmp = std::getenv("TMPDIR");
        folder = std::string(tmp && *tmp == '/' ? tmp : "/tmp") + "/" + text::toUtf8(name);
        (void)makePrivateFolder(text::fromUtf8(folder));
        if (!isPrivateFolder(folder))
            return std::nullopt;
    }
    const std::u16string base = text::fromUtf8(folder) + u"/" + name;
    // A socket's path must fit sockaddr_un.
    if (text::toUtf8(base).size() >= sizeof(sockaddr_un::sun_path))
        return std::nullopt;
    return InstancePaths{base + u".lock", base};
}

Expected<InstanceLock, OsError> InstanceLock::acquire(std::u16string_view path) {
    const int fd =
        ::open(nativePath(path).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return Unexpected{OsError{errno}};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return Unexpected{OsError{error}};
    }
    return InstanceLock(fd);
}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

InstanceLock& InstanceLock::operator=(InstanceLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

Status sendToInstance(std::u16string_view path, std::string_view bytes, int timeoutMs) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string native = nativePath(path);
    if (native.size() >= sizeof(address.sun_path))
        return Unexpected{OsError{ENAMETOOLONG}};
    std::memcpy(address.sun_path, native.data(), native.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return Unexpected{OsError{errno}};
    const auto fail = [fd](int error) -> Status {
        ::close(fd);
        return Unexpected{OsError{error}};
    };
    timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return fail(errno);
    if (!peerIsSameUser(fd))
        return fail(EACCES);
    while (!bytes.empty()) {
        const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    ::close(fd);
    return {};
}

bool isNobodyListening(OsError e) {
    return e.code == ENOENT || e.code == ECONNREFUSED;
}

Status sendToStartingInstance(std::u16string_view path, std::string_view bytes, int timeoutMs,
                              int startMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(startMs);
    for (;;) {
        Status sent = sendToInstance(path, bytes, timeoutMs);
        if (sent || !isNobodyListening(sent.error()) || Clock::now() >= deadline)
            return sent;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool peerIsSameUser(long long fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(fd), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::geteuid();
}

}  // namespace soramine::platform
