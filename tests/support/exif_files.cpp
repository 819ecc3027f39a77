#include "support/exif_files.h"

namespace soramine::testing {
namespace {

void put(std::string& out, std::uint32_t v, int width, bool bigEndian) {
    for (int i = 0; i < width; ++i) {
        const int shift = bigEndian ? 8 * (width - 1 - i) : 8 * i;
        out += static_cast<char>((v >> shift) & 0xFF);
    }
}

void directory(std::string& out, const std::vector<IfdEntry>& entries, std::uint32_t exifOffset,
               std::uint32_t dateOffset, bool bigEndian) {
    put(out, static_cast<std::uint32_t>(entries.size()), 2, bigEndian);
    for (const IfdEntry& e : entries) {
        put(out, e.tag, 2, bigEndian);
        put(out, 2, 2, bigEndian);  // ASCII
        put(out, 20, 4, bigEndian);
        put(out,
            e.value == kDateHere   ? dateOffset
            : e.value == kExifHere ? exifOffset
                                   : e.value,
            4, bigEndian);
    }
    put(out, 0, 4, bigEndian);  // no next directory
}

}  // namespace

std::string tiffBlock(const TiffBuild& b) {
    const auto size = [](std::size_t n) { return static_cast<std::uint32_t>(2 + 12 * n + 4); };
    const std::uint32_t ifd0 = 8;
    const std::uint32_t exif = ifd0 + size(b.ifd0.size());
    const std::uint32_t date = exif + (b.exif.empty() ? 0 : size(b.exif.size()));
    std::string out = b.bigEndian ? std::string("MM\0*", 4) : std::string("II*\0", 4);
    put(out, ifd0, 4, b.bigEndian);
    directory(out, b.ifd0, exif, date, b.bigEndian);
    if (!b.exif.empty())
        directory(out, b.exif, exif, date, b.bigEndian);
    out += b.date;
    out += '\0';
    return out;
}

std::string jpegSegment(unsigned char marker, std::string_view payload) {
    std::string out = "\xFF";
    out += static_cast<char>(marker);
    put(out, static_cast<std::uint32_t>(payload.size() + 2), 2, true);
    out += payload;
    return out;
}

std::string jpegWithExif(std::string_view tiff, std::string_view before, std::size_t totalSize) {
    std::string out = "\xFF\xD8";
    out += before;
    out += jpegSegment(0xE1, std::string("Exif\0\0", 6) + std::string(tiff));
    out += jpegSegment(0xDB, std::string(65, '\x01'));
    out += "\xFF\xDA";
    if (out.size() < totalSize)
        out.append(totalSize - out.size(), '\x5A');
    return out;
}

}  // namespace soramine::testing
