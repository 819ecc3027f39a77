#include "core/platform/fs.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/platform/posix/native_path.h"
#include "core/text/utf.h"

namespace soramine::platform {
namespace {

OsError lastError() {
    return OsError{errno};
}

Unexpected<OsError> failure() {
    return Unexpected{lastError()};
}

// Closes a descriptor when it goes out of scope.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool ok() const { return fd_ >= 0; }

  private:
    int fd_;
};

std::string parentOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string leafOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Calls `line(text, bare)` for each line of `content`: the line as stored (without its
// "\n") and without a trailing "\r".
template <class F>
void forEachLine(const std::string& content, F line) {
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string_view stored(content.data() + start, end - start);
        std::string_view bare = stored;
        if (!bare.empty() && bare.back() == '\r')
            bare.remove_suffix(1);
        line(stored, bare);
        start = end + 1;
    }
}

// The names listed in a folder's ".hidden" file, one per line (the file managers' convention).
std::unordered_set<std::string> readHiddenList(int dirFd) {
    std::unordered_set<std::string> names;
    Fd fd(::openat(dirFd, ".hidden", O_RDONLY | O_CLOEXEC));
    if (!fd.ok())
        return names;
    std::string content;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd.get(), buffer, sizeof buffer)) > 0)
        content.append(buffer, n);
    forEachLine(content, [&](std::string_view, std::string_view bare) {
        if (!bare.empty())
            names.emplace(bare);
    });
    return names;
}

FileTime fromStatx(const struct statx_timestamp& t) {
    return FileTime{t.tv_sec, t.tv_nsec};
}

// The part of a statx result that an entry needs, small enough to keep for a whole folder.
struct EntryStatus {
    bool found = false;
    bool full = true;  // false: only the type in `mode` is known
    bool hasBirthTime = false;
    std::uint32_t mode = 0;
    std::uint64_t size = 0;
    FileTime created, modified, accessed;
};

EntryStatus compact(const struct statx& st) {
    return EntryStatus{true,
                       true,
                       (st.stx_mask & STATX_BTIME) != 0,
                       st.stx_mode,
                       st.stx_size,
                       fromStatx(st.stx_btime),
                       fromStatx(st.stx_mtime),
                       fromStatx(st.stx_atime)};
}

// Fills `info` from an entry's status; the name and the hidden list are the caller's.
void fillInfo(const EntryStatus& st, bool listedHidden, EntryInfo& info) {
    info.isFolder = S_ISDIR(st.mode);
    std::uint32_t a = info.isFolder ? attr::kDirectory : 0;
    if (st.full && !(st.mode & S_IWUSR))
        a |= attr::kReadOnly;
    if (listedHidden || (!info.name.empty() && info.name[0] == u'.'))
        a |= attr::kHidden;
    info.attributes = a == 0 ? attr::kNormal : a;
    info.created.reset();
    info.modified.reset();
    info.accessed.reset();
    info.size = 0;
    if (!st.full)
        return;
    if (st.hasBirthTime)
        info.created = st.created;
    info.modified = st.modified;
    info.accessed = st.accessed;
    if (!info.isFolder)
        info.size = st.size;
}

constexpr unsigned kStatxMask =
    STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_MTIME | STATX_ATIME | STATX_BTIME;
constexpr int kStatxFlags = AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT;

// Closes a folder opened for listing when it goes out of scope.
struct FolderCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using Folder = std::unique_ptr<DIR, FolderCloser>;

// The entries of a folder (without "." and ".."), their names packed into one buffer.
class FolderNames {
  public:
    size_t count() const { return entries_.size(); }
    std::string_view name(size_t i) const {
        return {bytes_.data() + entries_[i].start, entries_[i].length};
    }
    const char* cName(size_t i) const { return bytes_.data() + entries_[i].start; }
    // The entry's type as the listing gave it, DT_UNKNOWN where the file system gives none.
    unsigned char type(size_t i) const { return entries_[i].type; }

    void add(const dirent& e) {
        const size_t length = std::strlen(e.d_name);
        entries_.push_back({e.d_ino, static_cast<std::uint32_t>(bytes_.size()),
                            static_cast<std::uint32_t>(length), e.d_type});
        bytes_.append(e.d_name, length + 1);
    }
    // Puts the entries in the order of their inode numbers. Asking for their status in that
    // order walks the kernel's inode records the way they lie in memory and on the disk, which
    // makes each call of a large folder markedly cheaper than in the folder's hash order.
    void sortByInode() {
        std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
            return a.inode != b.inode ? a.inode < b.inode : a.start < b.start;
        });
    }

  private:
    struct Entry {
        ino_t inode;
        std::uint32_t start, length;
        unsigned char type;
    };
    std::string bytes_;  // each name followed by its NUL
    std::vector<Entry> entries_;
};

FolderNames readNames(DIR* dir) {
    FolderNames names;
    while (const dirent* e = ::readdir(dir)) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0')))
            continue;
        names.add(*e);
    }
    return names;
}

// The type of an entry from the listing alone; asks for it only where the file system does not
// tell (found is false when the entry has gone meanwhile).
EntryStatus typeOf(int dirFd, const FolderNames& names, size_t i) {
    EntryStatus status;
    if (names.type(i) != DT_UNKNOWN) {
        status.found = true;
        status.mode = DTTOIF(names.type(i));
    } else if (struct statx st; ::statx(dirFd, names.cName(i), kStatxFlags, STATX_TYPE, &st) == 0) {
        status.found = true;
        status.mode = st.stx_mode & S_IFMT;
    }
    status.full = false;
    return status;
}

// Asks the kernel for the status of every entry of a folder, which is most of the work of
// listing a large one. Where the machine has a second core, a helper thread takes blocks of
// entries in order while the caller takes finished ones, and the caller takes the next free
// block itself whenever the one it needs is not ready, so that both cores ask and neither
// waits long. Blocks keep the two threads off each other's cache lines; the helper has a
// descriptor of its own so that the kernel does not share one file's counter between them.
class StatusFetcher {
  public:
    StatusFetcher(int dirFd, const FolderNames& names)
        : dirFd_(dirFd),
          names_(names),
          statuses_(names.count()),
          blockCount_((names.count() + kBlock - 1) / kBlock),
          done_(new std::atomic<bool>[blockCount_]()),
          helperFd_(wantsHelper(names.count())
                        ? ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                        : -1) {
        if (!wantsHelper(names.count()))
            return;
        try {
            helper_ = std::thread([this] {
                while (fetchBlock(helperFd_.ok() ? helperFd_.get() : dirFd_)) {
                }
            });
        } catch (const std::system_error&) {
            // No thread to be had: the caller asks for every entry.
        }
    }
    // Leaves the blocks nobody has taken and waits for the helper, also when the listing is
    // left by an exception from the sink: the helper uses this object until it has stopped.
    ~StatusFetcher() {
        next_.store(blockCount_);
        if (helper_.joinable())
            helper_.join();
    }
    StatusFetcher(const StatusFetcher&) = delete;
    StatusFetcher& operator=(const StatusFetcher&) = delete;

    // The status of entry i; `found` is false when the entry has gone meanwhile.
    const EntryStatus& at(size_t i) {
        const size_t block = i / kBlock;
        while (!done_[block].load(std::memory_order_acquire)) {
            if (!fetchBlock(dirFd_))
                std::this_thread::yield();  // the helper is finishing this block
        }
        return statuses_[i];
    }

  private:
    static constexpr size_t kBlock = 64;

    static bool wantsHelper(size_t entries) {
        return entries >= 256 && std::thread::hardware_concurrency() > 1;
    }

    bool fetchBlock(int dirFd) {
        const size_t block = next_.fetch_add(1);
        if (block >= blockCount_)
            return false;
        const size_t end = std::min(names_.count(), (block + 1) * kBlock);
        for (size_t i = block * kBlock; i < end; ++i) {
            struct statx st;
            if (::statx(dirFd, names_.cName(i), kStatxFlags, kStatxMask, &st) == 0)
                statuses_[i] = compact(st);
        }
        done_[block].store(true, std::memory_order_release);
        return true;
    }

    const int dirFd_;
    const FolderNames& names_;
    std::vector<EntryStatus> statuses_;
    const size_t blockCount_;
    std::unique_ptr<std::atomic<bool>[]> done_;
    std::atomic<size_t> next_{0};
    Fd helperFd_;
    std::thread helper_;
};

// A fresh name beside `target` for writing before the rename into place.
std::string temporaryBeside(const std::string& target, int& fdOut) {
    std::string pattern = parentOf(target) + "/." + leafOf(target) + ".soramine-XXXXXX";
    fdOut = ::mkostemp(pattern.data(), O_CLOEXEC);
    return pattern;
}

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n, size -= static_cast<size_t>(n);
    }
    return true;
}

// The text of a symbolic link.
Expected<std::string, OsError> readLink(const std::string& path) {
    std::string target(256, '\0');
    for (;;) {
        ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return failure();
        if (static_cast<size_t>(n) < target.size()) {
            target.resize(static_cast<size_t>(n));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

// A copy of the link `src` at `dst`, with the same target and times. A link is made in one
// step, so only replacing needs a name beside the target first.
Status copyLink(const std::string& src, const std::string& dst, const struct stat& st,
                bool overwrite) {
    auto target = readLink(src);
    if (!target)
        return Unexpected{target.error()};
    std::string made = dst;
    if (overwrite) {
        int fd;
        std::string reserved = temporaryBeside(dst, fd);
        if (fd < 0)
            return failure();
        ::close(fd);
        made = reserved + ".link";  // beside the reserved name, so no other temporary has it
        const bool linked = ::symlink(target->c_str(), made.c_str()) == 0;
        OsError e = lastError();
        ::unlink(reserved.c_str());
        if (!linked)
            return Unexpected{e};
    } else if (::symlink(target->c_str(), dst.c_str()) != 0) {
        return failure();
    }
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::utimensat(AT_FDCWD, made.c_str(), times, AT_SYMLINK_NOFOLLOW);
    if (overwrite && ::rename(made.c_str(), dst.c_str()) != 0) {
        OsError e = lastError();
        ::unlink(made.c_str());
        return Unexpected{e};
    }
    return {};
}

// The file that writing `path` should change: the path itself, or where the user's own
// symbolic links lead. A link of another user's is not followed, so that nobody can steer a
// write of this program into one of this user's files by planting a link.
Expected<std::string, OsError> writeTarget(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode) || st.st_uid != ::geteuid())
            return path;
        auto target = readLink(path);
        if (!target)
            return Unexpected{target.error()};
        path = target->starts_with('/') ? *target : parentOf(path) + "/" + *target;
    }
    return Unexpected{OsError{ELOOP}};
}

// Paths relative to the folder `dir` (AT_FDCWD: to the working folder, or absolute).
Status renameNoReplaceAt(int dir, const char* from, const char* to) {
    if (::renameat2(dir, from, dir, to, RENAME_NOREPLACE) == 0) {
        return {};
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return failure();
    // The file system lacks the flag: a hard link cannot replace either.
    if (::linkat(dir, from, dir, to, 0) == 0) {
        if (::unlinkat(dir, from, 0) == 0)
            return {};
        OsError e = lastError();
        ::unlinkat(dir, to, 0);
        return Unexpected{e};
    }
    if (errno != EPERM)
        return failure();
    // Folders cannot be linked: check, then rename (the best this file system allows).
    struct stat st;
    if (::fstatat(dir, to, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return Unexpected{OsError{EEXIST}};
    if (::renameat(dir, from, dir, to) != 0)
        return failure();
    return {};
}

Status renameNoReplaceNative(const std::string& from, const std::string& to) {
    return renameNoReplaceAt(AT_FDCWD, from.c_str(), to.c_str());
}

}  // namespace

bool isAlreadyExists(OsError e) {
    return e.code == EEXIST || e.code == ENOTEMPTY;
}

bool isAccessDenied(OsError e) {
    return e.code == EACCES || e.code == EPERM || e.code == EROFS;
}

bool isNotFound(OsError e) {
    return e.code == ENOENT;
}

bool isExistsOrAccessDenied(OsError e) {
    return isAlreadyExists(e) || isAccessDenied(e);
}

Status listFolder(std::u16string_view folder, const std::function<void(EntryInfo&)>& sink,
                  const std::function<void(std::size_t)>& expect, EntryDetail detail) {
    std::string native = nativePath(folder);
    if (native.empty())
        native = ".";
    Folder dir(::opendir(native.c_str()));
    if (!dir)
        return failure();
    const int dfd = ::dirfd(dir.get());
    const std::unordered_set<std::string> hidden = readHiddenList(dfd);
    FolderNames names = readNames(dir.get());
    const bool full = detail == EntryDetail::kFull;
    if (full)
        names.sortByInode();
    std::optional<StatusFetcher> statuses;
    if (full)
        statuses.emplace(dfd, names);
    if (expect)
        expect(names.count());
    EntryInfo info;
    for (size_t i = 0; i < names.count(); ++i) {
        const EntryStatus status = full ? statuses->at(i) : typeOf(dfd, names, i);
        if (!status.found)
            continue;  // gone meanwhile
        const std::string_view name = names.name(i);
        info.name = text::fromUtf8(name);
        fillInfo(status, !hidden.empty() && hidden.count(std::string(name)) > 0, info);
        sink(info);
    }
    return {};
}

std::vector<std::optional<EntryInfo>> lookUpEach(const std::vector<std::u16string>& paths) {
    std::vector<std::optional<EntryInfo>> found(paths.size());
    // The paths grouped by the folder that holds them, folders in the order first named.
    std::vector<std::string> natives;
    natives.reserve(paths.size());
    std::vector<std::pair<std::string, std::vector<size_t>>> groups;
    std::unordered_map<std::string, size_t> groupOf;
    for (size_t i = 0; i < paths.size(); ++i) {
        std::string native = nativePath(paths[i]);
        while (native.size() > 1 && native.back() == '/')
            native.pop_back();
        std::string parent = parentOf(native);
        auto [at, added] = groupOf.try_emplace(parent, groups.size());
        if (added)
            groups.emplace_back(std::move(parent), std::vector<size_t>());
        groups[at->second].second.push_back(i);
        natives.push_back(std::move(native));
    }
    for (const auto& [parent, members] : groups) {
        // A folder that cannot be opened for reading has no hidden list to read; its entries
        // are still looked up by their full paths.
        Fd dir(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        const std::unordered_set<std::string> hidden =
            dir.ok() ? readHiddenList(dir.get()) : std::unordered_set<std::string>();
        for (size_t i : members) {
            const std::string& native = natives[i];
            const std::string leaf = leafOf(native);
            const bool inDir = dir.ok() && !leaf.empty();  // "/" has no name in its folder
            struct statx st;
            if (::statx(inDir ? dir.get() : AT_FDCWD, inDir ? leaf.c_str() : native.c_str(),
                        kStatxFlags, kStatxMask, &st) != 0)
                continue;
            EntryInfo& info = found[i].emplace();
            info.name = text::fromUtf8(leaf);
            fillInfo(compact(st), hidden.count(leaf) > 0, info);
        }
    }
    return found;
}

std::optional<EntryInfo> lookUp(std::u16string_view path) {
    return std::move(lookUpEach({std::u16string(path)}).front());
}

bool exists(std::u16string_view path) {
    struct stat st;
    return ::fstatat(AT_FDCWD, nativePath(path).c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

std::optional<std::size_t> longestNameBytes(std::u16string_view folder) {
    const long max = ::pathconf(nativePath(folder).c_str(), _PC_NAME_MAX);
    if (max <= 0)
        return std::nullopt;
    return static_cast<std::size_t>(max);
}

Status renameNoReplace(std::u16string_view from, std::u16string_view to) {
    return renameNoReplaceNative(nativePath(from), nativePath(to));
}

OpenFolder::OpenFolder(std::u16string folder)
    : path_(std::move(folder)),
      fd_(::open(nativePath(path_).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)) {}

OpenFolder::OpenFolder(OpenFolder&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)) {}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

OpenFolder::~OpenFolder() {
    if (fd_ >= 0)
        ::close(fd_);
}

Status OpenFolder::renameNoReplace(std::u16string_view from, std::u16string_view to) const {
    if (fd_ < 0)
        return renameNoReplaceNative(nativePath(path_ + std::u16string(from)),
                                     nativePath(path_ + std::u16string(to)));
    // Both names go into one buffer that the thread keeps, so that a run of many renames
    // allocates nothing here.
    thread_local std::string names;
    names.resize((from.size() + to.size()) * text::kMaxUtf8PerUnit + 2);
    char* const fromEnd = text::writeUtf8(from, names.data());
    *fromEnd = '\0';
    char* const toStart = fromEnd + 1;
    *text::writeUtf8(to, toStart) = '\0';
    return renameNoReplaceAt(fd_, names.data(), toStart);
}

Status moveNoReplace(std::u16string_view from, std::u16string_view to) {
    std::string src = nativePath(from);
    Status moved = renameNoReplaceNative(src, nativePath(to));
    if (moved || moved.error().code != EXDEV)
        return moved;
    struct stat st;
    if (::lstat(src.c_str(), &st) != 0)
        return failure();
    if (!S_ISREG(st.st_mode))
        return moved;  // a folder cannot cross file systems
    if (Status copied = copyFile(from, to, false); !copied)
        return copied;
    if (::unlink(src.c_str()) != 0) {
        OsError e = lastError();
        ::unlink(nativePath(to).c_str());  // keep the one original, not two files
        return Unexpected{e};
    }
    return {};
}

Status copyFile(std::u16string_view from, std::u16string_view to, bool overwrite) {
    std::string src = nativePath(from), dst = nativePath(to);
    struct stat st;
    if (::lstat(src.c_str(), &st) != 0)
        return failure();
    if (S_ISLNK(st.st_mode))
        return copyLink(src, dst, st, overwrite);
    // Opening a named pipe or a device could wait for ever.
    if (!S_ISREG(st.st_mode))
        return Unexpected{OsError{S_ISDIR(st.st_mode) ? EISDIR : ENOTSUP}};
    Fd in(::open(src.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!in.ok())
        return failure();
    if (::fstat(in.get(), &st) != 0)
        return failure();
    if (!S_ISREG(st.st_mode))
        return Unexpected{OsError{ENOTSUP}};
    int outFd;
    std::string temp = temporaryBeside(dst, outFd);
    Fd out(outFd);
    if (!out.ok())
        return failure();
    auto abandon = [&](OsError e) {
        ::unlink(temp.c_str());
        return Unexpected{e};
    };
    for (;;) {
        ssize_t n = ::copy_file_range(in.get(), nullptr, out.get(), nullptr, 1 << 30, 0);
        if (n == 0)
            break;
        if (n > 0)
            continue;
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
            return abandon(lastError());
        }
        // Fall back to plain reads and writes from where the copy stands.
        char buffer[1 << 16];
        ssize_t r;
        while ((r = ::read(in.get(), buffer, sizeof buffer)) > 0) {
            if (!writeAll(out.get(), buffer, static_cast<size_t>(r)))
                return abandon(lastError());
        }
        if (r < 0)
            return abandon(lastError());
        break;
    }
    ::fchmod(out.get(), st.st_mode & 07777);
    struct timespec times[2] = {st.st_atim, st.st_mtim};
    ::futimens(out.get(), times);
    if (overwrite) {
        if (::rename(temp.c_str(), dst.c_str()) != 0)
            return abandon(lastError());
        return {};
    }
    if (Status placed = renameNoReplaceNative(temp, dst); !placed)
        return abandon(placed.error());
    return {};
}

Status removeFile(std::u16string_view path) {
    if (::unlink(nativePath(path).c_str()) != 0)
        return failure();
    return {};
}

Status makeFolder(std::u16string_view path) {
    if (::mkdir(nativePath(path).c_str(), 0777) != 0)
        return failure();
    return {};
}

Status removeFolder(std::u16string_view path) {
    if (::rmdir(nativePath(path).c_str()) != 0)
        return failure();
    return {};
}

bool canSetCreationTime() {
    return false;
}

Status setTimes(std::u16string_view path, std::optional<FileTime> created,
                std::optional<FileTime> modified, std::optional<FileTime> accessed) {
    if (created)
        return Unexpected{OsError{ENOTSUP}};
    struct timespec times[2];
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_nsec = UTIME_OMIT;
    if (accessed)
        times[0] = {static_cast<time_t>(accessed->seconds), accessed->nanoseconds};
    if (modified)
        times[1] = {static_cast<time_t>(modified->seconds), modified->nanoseconds};
    if (::utimensat(AT_FDCWD, nativePath(path).c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
        return failure();
    }
    return {};
}

Status setAttributes(std::u16string_view path, std::uint32_t attributes) {
    std::string native = nativePath(path);
    struct stat st;
    if (::lstat(native.c_str(), &st) != 0)
        return failure();
    mode_t mode = st.st_mode & 07777;
    mode_t wanted = (attributes & attr::kReadOnly) ? mode & ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH)
                                                   : mode | S_IWUSR;
    if (wanted != mode && ::chmod(native.c_str(), wanted) != 0)
        return failure();

    // Hidden: a dot name always is; otherwise the folder's ".hidden" list says so.
    std::string leaf = leafOf(native);
    if (leaf.empty() || leaf[0] == '.')
        return {};
    std::string listPath = parentOf(native) + "/.hidden";
    Fd parent(::open(parentOf(native).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!parent.ok())
        return failure();
    auto names = readHiddenList(parent.get());
    bool hide = (attributes & attr::kHidden) != 0;
    if (hide == (names.count(leaf) > 0))
        return {};
    auto current = readFile(text::fromUtf8(listPath));
    std::string content = current ? *current : std::string();
    std::string rewritten;
    if (hide) {
        rewritten = content;
        if (!rewritten.empty() && rewritten.back() != '\n')
            rewritten += '\n';
        rewritten += leaf + '\n';
    } else {
        // Only the lines naming the entry go; every other byte stays as it was.
        size_t start = 0;
        while (start < content.size()) {
            const size_t end = std::min(content.find('\n', start), content.size());
            std::string_view bare(content.data() + start, end - start);
            if (!bare.empty() && bare.back() == '\r')
                bare.remove_suffix(1);
            const size_t next = std::min(end + 1, content.size());
            if (bare != leaf)
                rewritten.append(content, start, next - start);
            start = next;
        }
    }
    return writeFileAtomic(text::fromUtf8(listPath), rewritten);
}

namespace {

// Opens `path` for its inode flags and calls `use(descriptor, flags)`.
template <class Use>
auto withInodeFlags(std::u16string_view path, Use use) -> decltype(use(0, 0)) {
    Fd fd(::open(nativePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
    int flags = 0;
    if (!fd.ok() || ::ioctl(fd.get(), FS_IOC_GETFLAGS, &flags) != 0)
        return failure();
    return use(fd.get(), flags);
}

}  // namespace

Expected<bool, OsError> isCompressed(std::u16string_view path) {
    return withInodeFlags(
        path, [](int, int flags) -> Expected<bool, OsError> { return (flags & FS_COMPR_FL) != 0; });
}

Status setCompressed(std::u16string_view path, bool compressed) {
    return withInodeFlags(path, [compressed](int fd, int flags) -> Status {
        int wanted = compressed ? (flags | FS_COMPR_FL) : (flags & ~FS_COMPR_FL);
        if (wanted != flags && ::ioctl(fd, FS_IOC_SETFLAGS, &wanted) != 0)
            return failure();
        // Some file systems take the request and keep the flag as it was: a refusal too.
        int after = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &after) != 0)
            return failure();
        if (((after & FS_COMPR_FL) != 0) != compressed)
            return Unexpected{OsError{EOPNOTSUPP}};
        return {};
    });
}

Expected<std::string, OsError> readFileEnd(std::u16string_view path, std::size_t size) {
    Fd fd(::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st;
    if (!fd.ok() || ::fstat(fd.get(), &st) != 0)
        return failure();
    const auto fileSize = static_cast<std::size_t>(st.st_size);
    std::string content(std::min(size, fileSize), '\0');
    std::size_t got = 0;
    while (got < content.size()) {
        const ssize_t n = ::pread(fd.get(), content.data() + got, content.size() - got,
                                  static_cast<off_t>(fileSize - content.size() + got));
        if (n == 0)
            break;
        if (n < 0 && errno != EINTR)
            return failure();
        if (n > 0)
            got += static_cast<std::size_t>(n);
    }
    content.resize(got);
    return content;
}

Status truncateFile(std::u16string_view path, std::uint64_t size) {
    if (::truncate(nativePath(path).c_str(), static_cast<off_t>(size)) != 0)
        return failure();
    return {};
}

Expected<std::string, OsError> readFile(std::u16string_view path) {
    Fd fd(::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.ok())
        return failure();
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return failure();
    if (S_ISDIR(st.st_mode))
        return Unexpected{OsError{EISDIR}};
    std::string content;
    if (st.st_size > 0)
        content.reserve(static_cast<size_t>(st.st_size));
    char buffer[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failure();
        }
        content.append(buffer, static_cast<size_t>(n));
    }
    return content;
}

Expected<ReadableFile, OsError> ReadableFile::open(std::u16string_view path) {
    const int fd = ::open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return failure();
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        const OsError e = S_ISDIR(st.st_mode) ? OsError{EISDIR} : lastError();
        ::close(fd);
        return Unexpected{e};
    }
    return ReadableFile(fd);
}

ReadableFile::ReadableFile(ReadableFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

ReadableFile& ReadableFile::operator=(ReadableFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

ReadableFile::~ReadableFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

Expected<std::size_t, OsError> ReadableFile::readAt(std::uint64_t offset, char* buffer,
                                                    std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n =
            ::pread(fd_, buffer + done, size - done, static_cast<off_t>(offset + done));
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failure();
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

Status writeFileAtomic(std::u16string_view path, std::string_view bytes) {
    auto resolved = writeTarget(nativePath(path));
    if (!resolved)
        return Unexpected{resolved.error()};
    const std::string& target = *resolved;
    int rawFd;
    std::string temp = temporaryBeside(target, rawFd);
    Fd fd(rawFd);
    if (!fd.ok())
        return failure();
    struct stat st;
    mode_t mode = 0644;
    if (::stat(target.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    ::fchmod(fd.get(), mode);
    if (!writeAll(fd.get(), bytes.data(), bytes.size()) || ::fsync(fd.get()) != 0 ||
        ::rename(temp.c_str(), target.c_str()) != 0) {
        OsError e = lastError();
        ::unlink(temp.c_str());
        return Unexpected{e};
    }
    return {};
}

Expected<OpenFile, OsError> OpenFile::open(std::u16string_view path, bool forWriting) {
    // Not blocking: opening a named pipe could wait for ever.
    const int flags = (forWriting ? O_RDWR : O_RDONLY) | O_NONBLOCK | O_CLOEXEC;
    const int fd = ::open(nativePath(path).c_str(), flags);
    if (fd < 0)
        return failure();
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const OsError e = ::fstat(fd, &st) != 0 ? lastError()
                          : S_ISDIR(st.st_mode) ? OsError{EISDIR}
                                                : OsError{ENOTSUP};
        ::close(fd);
        return Unexpected{e};
    }
    // A file without any write permission is read-only, also for a user the system lets write
    // it anyway.
    if (forWriting && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        ::close(fd);
        return Unexpected{OsError{EACCES}};
    }
    return OpenFile(std::u16string(path), fd, static_cast<std::uint64_t>(st.st_size));
}

OpenFile::OpenFile(OpenFile&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)), size_(other.size_) {}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        path_ = std::move(other.path_);
        fd_ = std::exchange(other.fd_, -1);
        size_ = other.size_;
    }
    return *this;
}

OpenFile::~OpenFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

Expected<std::string, OsError> OpenFile::read(std::uint64_t offset, std::size_t length) const {
    std::string out(
        static_cast<size_t>(std::min<std::uint64_t>(length, offset < size_ ? size_ - offset : 0)),
        '\0');
    size_t got = 0;
    while (got < out.size()) {
        const ssize_t n =
            ::pread(fd_, out.data() + got, out.size() - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failure();
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    out.resize(got);
    return out;
}

Expected<PendingReplacement, OsError> OpenFile::writeReplacement(std::string_view head,
                                                                 std::uint64_t offset,
                                                                 std::uint64_t length,
                                                                 std::string_view tail) const {
    auto resolved = writeTarget(nativePath(path_));
    if (!resolved)
        return Unexpected{resolved.error()};
    struct stat opened;
    if (::fstat(fd_, &opened) != 0)
        return failure();
    const int original = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (original < 0)
        return failure();
    int rawFd;
    std::string temp = temporaryBeside(*resolved, rawFd);
    if (rawFd < 0) {
        const OsError error = lastError();
        ::close(original);
        return Unexpected{error};
    }
    // From here the temporary file is removed by the pending replacement if anything fails.
    PendingReplacement pending(std::move(temp), std::move(*resolved), rawFd, original,
                               head.size() + length + tail.size(), opened.st_dev, opened.st_ino);
    if (!writeAll(rawFd, head.data(), head.size()))
        return failure();
    off_t from = static_cast<off_t>(offset);
    std::uint64_t left = length;
    while (left > 0) {
        const ssize_t n =
            ::copy_file_range(fd_, &from, rawFd, nullptr,
                              static_cast<size_t>(std::min<std::uint64_t>(left, 1 << 30)), 0);
        if (n > 0) {
            left -= static_cast<std::uint64_t>(n);
            continue;
        }
        if (n == 0)  // the file got shorter since it was opened
            return Unexpected{OsError{EIO}};
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
            return failure();
        // Plain reads and writes from where the copy stands.
        char buffer[1 << 16];
        while (left > 0) {
            const ssize_t r =
                ::pread(fd_, buffer,
                        static_cast<size_t>(std::min<std::uint64_t>(left, sizeof buffer)), from);
            if (r < 0 && errno == EINTR)
                continue;
            if (r <= 0)
                return r == 0 ? Unexpected{OsError{EIO}} : failure();
            if (!writeAll(rawFd, buffer, static_cast<size_t>(r)))
                return failure();
            from += r;
            left -= static_cast<std::uint64_t>(r);
        }
    }
    if (!writeAll(rawFd, tail.data(), tail.size()))
        return failure();
    // Owner and group where this user may set them, before the mode: a change of owner clears
    // the set-user-ID bits. Where it may not (another user's file), the new file is this user's.
    if (::fchown(rawFd, opened.st_uid, opened.st_gid) != 0) {
    }
    if (::fchmod(rawFd, opened.st_mode & 07777) != 0)
        return failure();
    // Only a start: commit() waits for the disk. Where the call is not supported, commit's
    // flush does all the work.
    ::sync_file_range(rawFd, 0, 0, SYNC_FILE_RANGE_WRITE);
    return pending;
}

PendingReplacement::PendingReplacement(PendingReplacement&& other) noexcept
    : temp_(std::move(other.temp_)),
      target_(std::move(other.target_)),
      fd_(std::exchange(other.fd_, -1)),
      original_(std::exchange(other.original_, -1)),
      size_(other.size_),
      device_(other.device_),
      inode_(other.inode_),
      flush_(other.flush_),
      flushError_(other.flushError_) {}

PendingReplacement& PendingReplacement::operator=(PendingReplacement&& other) noexcept {
    if (this != &other) {
        discard();
        release();
        temp_ = std::move(other.temp_);
        target_ = std::move(other.target_);
        fd_ = std::exchange(other.fd_, -1);
        original_ = std::exchange(other.original_, -1);
        size_ = other.size_;
        device_ = other.device_;
        inode_ = other.inode_;
        flush_ = other.flush_;
        flushError_ = other.flushError_;
    }
    return *this;
}

PendingReplacement::~PendingReplacement() {
    discard();
    release();
}

void PendingReplacement::release() {
    if (original_ >= 0)
        ::close(std::exchange(original_, -1));
}

void PendingReplacement::discard() {
    if (fd_ < 0)
        return;
    ::close(std::exchange(fd_, -1));
    ::unlink(temp_.c_str());
}

Status PendingReplacement::flush() {
    if (fd_ < 0)
        return Unexpected{OsError{EBADF}};
    // A failed flush is final: a second fsync could report success for data the first lost.
    if (flush_ == Flush::kNotYet) {
        const bool done = ::fsync(fd_) == 0;
        flush_ = done ? Flush::kDone : Flush::kFailed;
        if (!done)
            flushError_ = lastError();
    }
    if (flush_ == Flush::kFailed)
        return Unexpected{flushError_};
    return {};
}

Status PendingReplacement::commit() {
    const auto abandon = [&](OsError e) {
        discard();
        return Unexpected{e};
    };
    if (auto flushed = flush(); !flushed)
        return fd_ < 0 ? flushed : abandon(flushed.error());
    // The path must still name the file that was read: the new content was made from it.
    struct stat named;
    if (::stat(target_.c_str(), &named) != 0)
        return abandon(lastError());
    if (named.st_dev != device_ || named.st_ino != inode_)
        return abandon(OsError{ESTALE});
    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        return abandon(lastError());
    ::close(std::exchange(fd_, -1));
    return {};
}

Status appendFile(std::u16string_view path, std::string_view bytes, bool sync) {
    Fd fd(::open(nativePath(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
    if (!fd.ok() || !writeAll(fd.get(), bytes.data(), bytes.size()) ||
        (sync && ::fdatasync(fd.get()) != 0))
        return failure();
    return {};
}

}  // namespace soramine::platform
