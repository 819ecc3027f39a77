// Any bytes as a message from a later start: it is refused or split into paths, and a message
// made of those paths splits into the same paths again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/app/forwarded_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace soramine::app;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto command = decodeForwarded(bytes);
    if (!command)
        return 0;
    const auto paths = forwardedPaths(*command);
    if (paths.size() > command->commandLine.size())
        __builtin_trap();
    if (const auto again = forwardedCommand(u"/p", paths)) {
        const auto decoded = decodeForwarded(encodeForwarded(*again));
        if (!decoded || forwardedPaths(*decoded) != paths)
            __builtin_trap();
    }
    return 0;
}
