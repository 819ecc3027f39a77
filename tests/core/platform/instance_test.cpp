#include "core/platform/instance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "core/platform/locked_file.h"
#include "core/text/utf.h"
#include "support/temp_dir.h"

namespace soramine::platform {
namespace {

using soramine::testing::TempDir;

// A listening socket at `path`, or one that was bound and closed (what a killed instance
// leaves behind).
int bindSocket(const std::string& path, bool listening) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    if (listening) {
        EXPECT_EQ(::listen(fd, 4), 0);
        return fd;
    }
    ::close(fd);
    return -1;
}

TEST(InstanceLock, OneHolderAtATimeAndFreedWithIt) {
    TempDir dir;
    const std::u16string path = dir.folder() + u"soramine-0.lock";
    {
        auto first = InstanceLock::acquire(path);
        ASSERT_TRUE(first);
        auto second = InstanceLock::acquire(path);
        ASSERT_FALSE(second);
        EXPECT_TRUE(isLockHeld(second.error()));
    }
    EXPECT_TRUE(InstanceLock::acquire(path)) << "a lock left by an ended holder is free";
}

TEST(SendToInstance, ReachesAListenerAndTellsWhenNobodyListens) {
    TempDir dir;
    const std::string live = (dir.path() / "live").string();
    const std::string stale = (dir.path() / "stale").string();
    const int server = bindSocket(live, true);
    bindSocket(stale, false);
    struct Case {
        const char* label;
        std::string path;
        bool sent;
        bool nobody;
    } cases[] = {
        {"listening", live, true, false},
        {"socket of a killed instance", stale, false, true},
        {"no socket", (dir.path() / "none").string(), false, true},
        {"a plain file", dir.write("file").string(), false, true},
    };
    for (const auto& c : cases) {
        const Status sent = sendToInstance(text::fromUtf8(c.path), "hello", 1000);
        EXPECT_EQ(bool(sent), c.sent) << c.label;
        if (!sent) {
            EXPECT_EQ(isNobodyListening(sent.error()), c.nobody) << c.label;
        }
    }
    const int connection = ::accept(server, nullptr, nullptr);
    char buffer[8] = {};
    EXPECT_EQ(::read(connection, buffer, sizeof buffer), 5);
    EXPECT_STREQ(buffer, "hello");
    EXPECT_TRUE(peerIsSameUser(connection));
    ::close(connection);
    ::close(server);
}

TEST(InstancePaths, PrivateFolderNamedAfterTheUser) {
    const auto paths = instancePaths();
    ASSERT_TRUE(paths);
    const std::string name = "soramine-" + std::to_string(::geteuid());
    EXPECT_TRUE(text::toUtf8(paths->socket).ends_with("/" + name));
    EXPECT_EQ(paths->lock, paths->socket + u".lock");
}

}  // namespace
}  // namespace soramine::platform
