#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace soramine::testing {

// One 12-byte directory entry: tag, type, count, value (or offset).
struct IfdEntry {
    std::uint16_t tag;
    std::uint32_t value;
};

// A TIFF block built byte by byte: the header ("II*\0" or "MM\0*") with IFD0 at offset 8,
// IFD0's entries, the Exif IFD's entries (when there are any), then the date text and a zero
// byte. An entry value kDateHere stands for the date text's offset, kExifHere for the Exif
// IFD's.
struct TiffBuild {
    bool bigEndian = false;
    std::vector<IfdEntry> ifd0;
    std::vector<IfdEntry> exif;
    std::string date = "2024:03:05 07:08:09";  // 19 characters; a zero byte is appended
};
inline constexpr std::uint32_t kDateHere = 0xFFFFFFFF;
inline constexpr std::uint32_t kExifHere = 0xFFFFFFFE;
std::string tiffBlock(const TiffBuild& build);

// A JPEG file: SOI, the given segments before, an APP1 "Exif" segment holding `tiff`, then a
// quantisation table segment and image data padded to `totalSize` bytes.
std::string jpegWithExif(std::string_view tiff, std::string_view before = {},
                         std::size_t totalSize = 0);
// One JPEG segment: FF, the marker, the big-endian length, the payload.
std::string jpegSegment(unsigned char marker, std::string_view payload);

}  // namespace soramine::testing
