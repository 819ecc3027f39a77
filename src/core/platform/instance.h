#pragma once

// What makes one window program per user: a lock file that the first instance holds while it
// runs (the system lets it go when the process ends, also when it is killed) and a local
// socket beside it on which that instance hears the later starts.

#include <optional>
#include <string>
#include <string_view>

#include "core/base/expected.h"
#include "core/platform/fs.h"

namespace soramine::platform {

struct InstancePaths {
    std::u16string lock;    // ".../soramine-UID.lock"
    std::u16string socket;  // ".../soramine-UID"
};

// The paths of the running user's instance, in $XDG_RUNTIME_DIR when it is a folder of that
// user's that nobody else may enter, else in a private folder "soramine-UID" of the system's
// temporary folder. Nothing when neither can be had (the program then runs on its own).
std::optional<InstancePaths> instancePaths();

// The lock of the first instance.
class InstanceLock {
  public:
    // Takes the lock at `path` (created when missing, private); fails with the lock-held
    // class (isLockHeld in locked_file.h) when another process holds it.
    static Expected<InstanceLock, OsError> acquire(std::u16string_view path);

    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&& other) noexcept;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

  private:
    explicit InstanceLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// Connects to the socket at `path`, checks that the process listening there is the same user,
// and writes all of `bytes` (waiting at most `timeoutMs` for a blocked write). Fails with the
// connection's error (not found or refused: nobody listens), or with access denied when
// another user listens there.
Status sendToInstance(std::u16string_view path, std::string_view bytes, int timeoutMs);

// Whether a connection failed because nothing listens at the path (yet).
bool isNobodyListening(OsError e);

// sendToInstance, tried again while nobody listens for at most `startMs`: an instance that
// holds the lock but does not listen yet is still starting.
Status sendToStartingInstance(std::u16string_view path, std::string_view bytes, int timeoutMs,
                              int startMs);

// Whether the process at the other end of the connected local socket `fd` runs as this user.
bool peerIsSameUser(long long fd);

}  // namespace soramine::platform
