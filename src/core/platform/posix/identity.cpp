#include <sys/stat.h>
#include <unistd.h>

#include "core/platform/fs.h"
#include "core/platform/posix/native_path.h"

namespace soramine::platform {
namespace {

FileTime fromTimespec(const struct timespec& t) {
    return FileTime{t.tv_sec, static_cast<std::uint32_t>(t.tv_nsec)};
}

bool writableByOthers(const struct stat& st) {
    return (st.st_mode & (S_IWGRP | S_IWOTH)) != 0;
}

}  // namespace

std::optional<FileStamp> fileStamp(std::u16string_view path) {
    struct stat st;
    if (::stat(nativePath(path).c_str(), &st) != 0)
        return std::nullopt;
    return FileStamp{st.st_dev, st.st_ino, static_cast<std::uint64_t>(st.st_size),
                     fromTimespec(st.st_mtim), fromTimespec(st.st_ctim)};
}

bool isSameFile(std::u16string_view a, std::u16string_view b) {
    struct stat first, second;
    return ::lstat(nativePath(a).c_str(), &first) == 0 &&
           ::lstat(nativePath(b).c_str(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

Expected<void, std::u16string> isTrustedFile(std::u16string_view path) {
    const std::string native = nativePath(path);
    const uid_t user = ::geteuid();
    struct stat link, file;
    if (::lstat(native.c_str(), &link) != 0)
        return {};
    if (S_ISLNK(link.st_mode) && link.st_uid != user)
        return Unexpected{u"他のユーザーのリンクなので読み込みません: " + std::u16string(path)};
    if (::stat(native.c_str(), &file) != 0)
        return {};
    if (file.st_uid != user)
        return Unexpected{u"他のユーザーのファイルなので読み込みません: " + std::u16string(path)};
    if (writableByOthers(file)) {
        return Unexpected{u"他のユーザーが書き込めるファイルなので読み込みません: " +
                          std::u16string(path)};
    }
    return {};
}

}  // namespace soramine::platform
