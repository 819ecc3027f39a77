#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/expected.h"
#include "core/platform/fs.h"

namespace soramine {

// Reads the shooting date (Exif DateTimeOriginal, tag 0x9003) of a JPEG file (APP1 "Exif"
// segment) or a TIFF file (its first 4096 bytes), in either byte order, from IFD0 or the Exif
// IFD. Every offset and count is checked against the block: one that leaves it, an all-zero
// date and a date that is no calendar date (month 13, hour 24) all mean no date.
//
// From a file only the bytes the walk needs are read: the head, and further on only where a
// JPEG's segments lead; the result is the one the whole file would give.
class ExifReader {
  public:
    // The file's shooting date, taken as local time, in seconds since 1970-01-01 00:00:00
    // UTC; nothing when it has none. Fails when the file cannot be opened (or is a folder).
    static Expected<std::optional<std::int64_t>, platform::OsError> readFile(
        std::u16string_view path);
    // The same from a file's whole content.
    static std::optional<std::int64_t> read(std::string_view content);

    // How many bytes a file read starts with: a JPEG's APP1 segment usually ends within them.
    static constexpr std::size_t kHeadSize = 64 * 1024;
};

}  // namespace soramine
