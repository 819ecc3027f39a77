#pragma once

#include <optional>
#include <string_view>

#include "core/base/expected.h"
#include "core/platform/fs.h"

namespace soramine::platform {

// A file one process writes while it holds the file's lock, so that other processes can tell
// that it is still being written (a run's undo journal), or an existing file held while it is
// worked through (an undo of that journal). The lock goes with the object.
class LockedFile {
  public:
    // Creates a new file (never opens an existing one), readable and writable by its owner
    // only, and locks it for appending.
    static Expected<LockedFile, OsError> create(std::u16string_view path);
    // Locks an existing file for reading; fails with the lock-held class (isLockHeld) when
    // another process holds the lock.
    static Expected<LockedFile, OsError> lock(std::u16string_view path);
    // Locks an existing file for reading and appending (an undo marks the entries of a journal
    // that it reversed). Appends go after the file's first appendAfter() bytes.
    static Expected<LockedFile, OsError> lockToAppend(std::u16string_view path);
    // Makes the next append go at byte `size`: what comes after it is replaced, and cut when
    // the object ends. Called before the first append.
    void appendAfter(std::size_t size) { size_ = size; }

    LockedFile(LockedFile&& other) noexcept;
    LockedFile& operator=(LockedFile&& other) noexcept;
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    ~LockedFile();

    // Appends all of `bytes`: once it returns they survive the process being killed. The file
    // is written through a mapping of space reserved ahead, so that most appends cost no call
    // to the system; when the space cannot be reserved (a full disk), nothing is appended.
    Status append(std::string_view bytes);
    // Waits until what was appended is on the disk.
    Status sync();

  private:
    explicit LockedFile(int fd) : fd_(fd) {}
    Status reserve(std::size_t bytes);
    void release();

    int fd_ = -1;
    // The mapping of a file being appended to: `size_` bytes written of `capacity_` reserved.
    // A process killed while appending leaves the reserved rest as zero bytes after the last
    // record; the object's end cuts the file to what was written.
    char* map_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

// Makes a folder that only its owner may enter, read and write (where a run keeps its
// journals).
Status makePrivateFolder(std::u16string_view path);

// Whether another process holds the lock of the file at `path`.
bool isLockedByAnother(std::u16string_view path);
// Whether an error says that another process holds a lock.
bool isLockHeld(OsError e);

}  // namespace soramine::platform
