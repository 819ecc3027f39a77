#pragma once

// The file-system seam of the core. Everything that touches the disk goes through these
// functions; the backend is chosen by the build (posix/ or win32/). Paths are UTF-16 text
// as the item table holds them; folders end in kSeparator.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/expected.h"

namespace soramine::platform {

inline constexpr char16_t kSeparator = u'/';

// A native error code: errno here, GetLastError() on Windows.
struct OsError {
    int code = 0;
};
using Status = Expected<void, OsError>;

// "The target name exists" (Windows code 183), the class that collision avoidance acts on.
bool isAlreadyExists(OsError e);
// "The target exists or access is refused" (Windows codes 5, 80, 183), the class the
// in-place rename and undo report as "同名ファイルが存在します".
bool isExistsOrAccessDenied(OsError e);
bool isAccessDenied(OsError e);
// "No such file or folder".
bool isNotFound(OsError e);
// The system's text for the error, as one line (no line breaks); empty when there is none.
std::u16string systemErrorText(OsError e);

// Seconds since 1970-01-01 00:00:00 UTC.
struct FileTime {
    std::int64_t seconds = 0;
    std::uint32_t nanoseconds = 0;
    friend auto operator<=>(const FileTime&, const FileTime&) = default;
};

// Windows attribute bits. On Linux: read-only = no write permission for the owner; hidden =
// a name starting with "." or listed in the folder's ".hidden" file; system and temporary
// never occur.
namespace attr {
inline constexpr std::uint32_t kReadOnly = 0x1;
inline constexpr std::uint32_t kHidden = 0x2;
inline constexpr std::uint32_t kSystem = 0x4;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kArchive = 0x20;
inline constexpr std::uint32_t kNormal = 0x80;
inline constexpr std::uint32_t kTemporary = 0x100;
inline constexpr std::uint32_t kCompressed = 0x800;
}  // namespace attr

struct EntryInfo {
    std::u16string name;
    bool isFolder = false;
    std::uint32_t attributes = 0;
    std::optional<FileTime> created;  // only where the file system keeps a birth time
    std::optional<FileTime> modified;
    std::optional<FileTime> accessed;
    std::uint64_t size = 0;
};

// How much a listing tells of each entry: all that EntryInfo holds, or only the name, the
// type and the hidden mark, which spares asking the system for the status of each entry.
// Without the status the times are empty, the size is 0 and read-only is never set.
enum class EntryDetail { kFull, kNameAndType };

// Calls `sink` once for every entry of `folder` except "." and "..", in an order of the file
// system's choosing (the same for each listing of an unchanged folder); a symbolic link is an
// entry of its own, never followed. The EntryInfo is reused between calls: copy or move what
// must outlive the call. `expect`, when given, hears before the first entry how many entries
// there are at most, so that the caller can make room once. Fails when the folder cannot be
// opened for listing. An exception from `sink` leaves the listing with everything it opened
// closed.
Status listFolder(std::u16string_view folder, const std::function<void(EntryInfo&)>& sink,
                  const std::function<void(std::size_t)>& expect = {},
                  EntryDetail detail = EntryDetail::kFull);

// The entry at `path` (not followed if it is a link); nothing when it does not exist.
std::optional<EntryInfo> lookUp(std::u16string_view path);
// The same for several paths, in their order. The paths of one folder share one opening of the
// folder and one reading of its ".hidden" list.
std::vector<std::optional<EntryInfo>> lookUpEach(const std::vector<std::u16string>& paths);

// Whether the exact name exists, under the file system's own rules (case-sensitive here).
bool exists(std::u16string_view path);

// The most bytes a name in `folder` may have in the file system's encoding (UTF-8 here), as
// the file system holding the folder says; nothing when it does not say.
std::optional<std::size_t> longestNameBytes(std::u16string_view folder);

// Renames without ever replacing: an existing target fails with the "already exists" class.
Status renameNoReplace(std::u16string_view from, std::u16string_view to);
// A folder held open while entries in it are renamed by their names: the kernel then does
// not walk the whole path for each rename, and the renames stay in the folder that was opened
// even when its path comes to name another folder meanwhile. When the folder cannot be opened,
// the renames go by full paths and fail as those would.
class OpenFolder {
  public:
    // `folder` ends in the separator.
    explicit OpenFolder(std::u16string folder);
    OpenFolder(OpenFolder&& other) noexcept;
    OpenFolder& operator=(OpenFolder&& other) noexcept;
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    ~OpenFolder();

    const std::u16string& path() const { return path_; }
    // renameNoReplace of the entry `from` of this folder to `to` in it.
    Status renameNoReplace(std::u16string_view from, std::u16string_view to) const;

  private:
    std::u16string path_;
    int fd_ = -1;
};
// Moves to another folder, also across file systems (a file is copied, then removed), never
// replacing an existing target.
Status moveNoReplace(std::u16string_view from, std::u16string_view to);
// Copies a file's content and modification time; a symbolic link is copied as a link to the
// same target, never followed. With `overwrite` off an existing target fails with the
// "already exists" class. The copy is written beside the target and renamed into place, so a
// failure never leaves half a file.
Status copyFile(std::u16string_view from, std::u16string_view to, bool overwrite);
Status removeFile(std::u16string_view path);
Status makeFolder(std::u16string_view path);
// Removes an empty folder.
Status removeFolder(std::u16string_view path);

// Whether the creation time of a file can be set on this system (never on Linux).
bool canSetCreationTime();
// Sets the times that are given. Asking for a creation time where it cannot be set fails
// with an error and changes nothing.
Status setTimes(std::u16string_view path, std::optional<FileTime> created,
                std::optional<FileTime> modified, std::optional<FileTime> accessed);
// Sets read-only and hidden as given in `attributes`; other bits are ignored.
Status setAttributes(std::u16string_view path, std::uint32_t attributes);

// The file system's compression flag of a file (FS_COMPR_FL here). Fails where the file
// system keeps no such flag; setting it fails where the file system refuses it.
Expected<bool, OsError> isCompressed(std::u16string_view path);
Status setCompressed(std::u16string_view path, bool compressed);

// The whole content of a file, or the error that stopped reading it.
Expected<std::string, OsError> readFile(std::u16string_view path);
// The last `size` bytes of a file (all of it when it is shorter).
Expected<std::string, OsError> readFileEnd(std::u16string_view path, std::size_t size);
// Cuts a file to its first `size` bytes.
Status truncateFile(std::u16string_view path, std::uint64_t size);
// Reads a file from start to end through one reused buffer of `chunkSize` bytes, calling
// `sink` with each piece read (never empty); `sink` returns false to stop early. Fails when
// the file cannot be opened or a read fails (a folder fails too).
Status readFileChunks(std::u16string_view path, std::size_t chunkSize,
                      const std::function<bool(std::string_view)>& sink);
// A file opened for reading at any offset, shared with other readers and writers.
class ReadableFile {
  public:
    static Expected<ReadableFile, OsError> open(std::u16string_view path);
    ReadableFile(ReadableFile&& other) noexcept;
    ReadableFile& operator=(ReadableFile&& other) noexcept;
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;
    ~ReadableFile();

    // Reads up to `size` bytes at `offset` into `buffer`: fewer only at the end of the file,
    // 0 at or past it.
    Expected<std::size_t, OsError> readAt(std::uint64_t offset, char* buffer, std::size_t size);

  private:
    explicit ReadableFile(int fd) : fd_(fd) {}
    int fd_ = -1;
};
// Replaces a file's content through a temporary file in the same folder that is flushed and
// renamed into place: a crash leaves the old content or the new, never half of one. A path
// that is a symbolic link of this user's is written through to the file it leads to (the
// temporary file then sits beside that file); a link of another user's is replaced.
Status writeFileAtomic(std::u16string_view path, std::string_view bytes);
// A file's new content written to a temporary file beside it and not yet in place
// (OpenFile::writeReplacement). Until commit() the file is as it was; one destroyed without a
// commit removes its temporary file. It holds the replaced file open until it is destroyed,
// so that the freeing of the old content, which keeps the disk busy a while, happens where its
// owner chooses (one with many replacements destroys them on a thread of its own).
class PendingReplacement {
  public:
    PendingReplacement(PendingReplacement&& other) noexcept;
    PendingReplacement& operator=(PendingReplacement&& other) noexcept;
    PendingReplacement(const PendingReplacement&) = delete;
    PendingReplacement& operator=(const PendingReplacement&) = delete;
    ~PendingReplacement();

    // Bytes of the new content.
    std::uint64_t size() const { return size_; }
    // Waits until the new content is on the disk. commit() does it too; a caller with many
    // replacements flushes them all first, so that the disk's work is shared among them.
    Status flush();
    // Flushes the new content to the disk and renames it into place. Fails, leaving the file as
    // it was, when the path no longer names the file that was opened or the flush fails.
    Status commit();

  private:
    friend class OpenFile;
    PendingReplacement(std::string temp, std::string target, int fd, int original,
                       std::uint64_t size, std::uint64_t device, std::uint64_t inode)
        : temp_(std::move(temp)),
          target_(std::move(target)),
          fd_(fd),
          original_(original),
          size_(size),
          device_(device),
          inode_(inode) {}
    void discard();  // removes the temporary file of one not committed
    void release();  // closes the replaced file

    std::string temp_, target_;
    int fd_ = -1;
    int original_ = -1;  // the replaced file
    std::uint64_t size_ = 0, device_ = 0, inode_ = 0;
    enum class Flush { kNotYet, kDone, kFailed } flush_ = Flush::kNotYet;
    OsError flushError_{};
};

// A regular file held open to read its content at any offset and, for a file opened for
// writing, to replace its content (a tag editor's needs).
class OpenFile {
  public:
    // Opens `path`, following symbolic links. With `forWriting` it fails when this user may not
    // write the file, and for a read-only file (no write permission at all) whoever the user
    // is; a folder or a device fails either way.
    static Expected<OpenFile, OsError> open(std::u16string_view path, bool forWriting);
    OpenFile(OpenFile&& other) noexcept;
    OpenFile& operator=(OpenFile&& other) noexcept;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile();

    std::uint64_t size() const { return size_; }
    // Up to `length` bytes from `offset`: fewer at the end of the file.
    Expected<std::string, OsError> read(std::uint64_t offset, std::size_t length) const;
    // The file's new content: `head`, then `length` bytes of its present content from
    // `offset`, then `tail`, written to a temporary file in the same folder with the file's
    // mode and, where this user may set them, its owner and group; the disk starts writing it
    // at once. Its commit() renames it into place, so a crash or a full disk leaves the old
    // content or the new, never half of one.
    Expected<PendingReplacement, OsError> writeReplacement(std::string_view head,
                                                           std::uint64_t offset,
                                                           std::uint64_t length,
                                                           std::string_view tail) const;

  private:
    OpenFile(std::u16string path, int fd, std::uint64_t size)
        : path_(std::move(path)), fd_(fd), size_(size) {}

    std::u16string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// Appends `bytes` to a file (created when missing). The bytes are the system's once this
// returns, so they survive the process being killed; with `sync` it also waits until the
// file's content is on the disk, which survives a crash of the system too.
Status appendFile(std::u16string_view path, std::string_view bytes, bool sync);

// What tells one state of a file from the next: a file that is written or replaced gets
// another stamp. Symbolic links are followed.
struct FileStamp {
    std::uint64_t device = 0, inode = 0, size = 0;
    FileTime modified, changed;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
// Nothing when the file does not exist or cannot be reached.
std::optional<FileStamp> fileStamp(std::u16string_view path);

// Whether two paths name the same entry (the same file on the same device, also through
// different spellings or hard links); symbolic links are not followed. False when either
// path does not exist.
bool isSameFile(std::u16string_view a, std::u16string_view b);

// Whether a file may be read as this user's own settings file or journal: it (and the link,
// when the path is a symbolic link) must belong to the user running the program, and neither
// its group nor others may write it, so that no other user can plant or change what the
// program acts on. A missing file passes (there is nothing to read). The error says why,
// naming the path, as a line for the user.
Expected<void, std::u16string> isTrustedFile(std::u16string_view path);

}  // namespace soramine::platform
