#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "core/platform/fs.h"
#include "core/platform/posix/native_path.h"

namespace soramine::platform {

Status readFileChunks(std::u16string_view path, std::size_t chunkSize,
                      const std::function<bool(std::string_view)>& sink) {
    const int fd = ::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Unexpected{OsError{errno}};
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    const auto buffer = std::make_unique_for_overwrite<char[]>(chunkSize);
    Status result;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.get(), chunkSize);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result = Unexpected{OsError{errno}};
            break;
        }
        if (n == 0 || !sink(std::string_view(buffer.get(), static_cast<std::size_t>(n))))
            break;
    }
    ::close(fd);
    return result;
}

}  // namespace soramine::platform
