// soramine: the program a user starts. A later start hands its command line to the running
// window here, without loading the toolkit, whose libraries take most of a start's time; for
// everything else (the first start's window, the one-shot forms, a command line that cannot be
// handed over) this process becomes the window program beside it, with the same arguments.

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/app/forwarded_command.h"
#include "core/app/one_shot.h"
#include "core/platform/instance.h"
#include "core/platform/locked_file.h"
#include "core/platform/process.h"
#include "core/text/utf.h"

int main(int argc, char** argv) {
    using namespace soramine;
    std::vector<std::u16string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(text::fromUtf8(argv[i]));

    if (!app::isOneShot(args)) {
        if (const auto instance = platform::instancePaths()) {
            // Taken only to see whether another instance holds it: the window program takes
            // it again (and forwards itself when another start was quicker).
            const auto lock = platform::InstanceLock::acquire(instance->lock);
            if (!lock && platform::isLockHeld(lock.error())) {
                if (const auto command = app::forwardedCommand(text::fromUtf8(argv[0]), args))
                    return platform::sendToStartingInstance(
                               instance->socket, app::encodeForwarded(*command), 5000, 5000)
                               ? 0
                               : 1;
            }
        }
    }
    const std::string window = text::toUtf8(platform::executableFolder() + u"soramine-window");
    ::execv(window.c_str(), argv);
    std::fprintf(stderr, "soramine: %s: %s\n", window.c_str(), std::strerror(errno));
    return 2;
}
