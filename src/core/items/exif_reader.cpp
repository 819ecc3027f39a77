#include "core/items/exif_reader.h"

#include <algorithm>
#include <array>

#include "core/platform/clock.h"

namespace soramine {
namespace {

constexpr std::size_t kTiffBlockSize = 4096;  // a TIFF file's block: its first 4096 bytes
constexpr std::uint16_t kExifIfdTag = 0x8769;
constexpr std::uint16_t kDateTimeOriginalTag = 0x9003;
constexpr std::size_t kDateTextSize = 20;  // "YYYY:MM:DD HH:MM:SS" and a zero byte

// The bytes of a file or of a buffer by offset. A view stays valid until the next call.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Up to `size` bytes at `offset`: fewer only at the end.
    virtual std::string_view bytes(std::uint64_t offset, std::size_t size) = 0;
};

class BufferSource final : public ByteSource {
  public:
    explicit BufferSource(std::string_view content) : content_(content) {}
    std::string_view bytes(std::uint64_t offset, std::size_t size) override {
        if (offset >= content_.size())
            return {};
        return content_.substr(static_cast<std::size_t>(offset), size);
    }

  private:
    std::string_view content_;
};

// Reads a file through a window of at least kHeadSize bytes that moves only when a request
// leaves it; a read error ends the file there.
class FileSource final : public ByteSource {
  public:
    explicit FileSource(platform::ReadableFile file) : file_(std::move(file)) {}
    std::string_view bytes(std::uint64_t offset, std::size_t size) override {
        const bool inside = offset >= start_ && offset - start_ <= window_.size() &&
                            (window_.size() - (offset - start_) >= size || atEnd_);
        if (!inside) {
            window_.resize(std::max(size, ExifReader::kHeadSize));
            const auto got = file_.readAt(offset, window_.data(), window_.size());
            const std::size_t n = got ? *got : 0;
            atEnd_ = n < window_.size();
            window_.resize(n);
            start_ = offset;
        }
        const auto at = static_cast<std::size_t>(offset - start_);
        return std::string_view(window_).substr(std::min(at, window_.size()), size);
    }

  private:
    platform::ReadableFile file_;
    std::string window_;
    std::uint64_t start_ = 0;
    bool atEnd_ = false;
};

std::uint16_t bigEndian16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) << 8 |
                                      static_cast<unsigned char>(b[at + 1]));
}

// 16- and 32-bit fields of a TIFF block in its byte order.
class TiffBlock {
  public:
    explicit TiffBlock(std::string_view block)
        : block_(block), bigEndian_(block.substr(0, 2) == "MM") {}

    std::size_t size() const { return block_.size(); }
    std::uint32_t field(std::size_t at, std::size_t width) const {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t byte = bigEndian_ ? at + i : at + width - 1 - i;
            v = v << 8 | static_cast<unsigned char>(block_[byte]);
        }
        return v;
    }
    std::string_view text(std::size_t at, std::size_t size) const {
        return block_.substr(at, size);
    }

  private:
    std::string_view block_;
    bool bigEndian_;
};

struct Entry {
    std::uint16_t tag;
    std::uint32_t value;
};

// What the walk of one directory found.
struct Walk {
    bool inBlock = false;        // false: its count or an entry reaches beyond the block
    std::optional<Entry> found;  // the entry the walk stopped at
};

// Walks the entries of the directory at `offset`, calling `stop` for each until it returns
// true.
template <class Stop>
Walk walkDirectory(const TiffBlock& b, std::uint32_t offset, Stop stop) {
    if (offset > b.size() || b.size() - offset < 2)
        return {};
    const std::uint32_t count = b.field(offset, 2);
    if ((b.size() - offset - 2) / 12 < count)
        return {};
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = offset + 2 + std::size_t{12} * i;
        const Entry e{static_cast<std::uint16_t>(b.field(at, 2)), b.field(at + 8, 4)};
        if (stop(e))
            return {true, e};
    }
    return {true, std::nullopt};
}

// The decimal number at the head of `field` (digits only; none gives 0), capped so that it
// cannot overflow.
int leadingNumber(std::string_view field) {
    int v = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            break;
        v = std::min(v * 10 + (c - '0'), 100000);
    }
    return v;
}

bool isLeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// The moment of a date text "YYYY:MM:DD HH:MM:SS" (ending at a zero byte), taken as local
// time. An all-zero date and fields that name no calendar moment give nothing.
std::optional<std::int64_t> momentOf(std::string_view raw) {
    std::string textual(raw.substr(0, raw.find('\0')));
    std::replace(textual.begin(), textual.end(), ' ', ':');
    textual += ':';
    if (std::count_if(textual.begin(), textual.end(), [](char c) { return c != '0'; }) <= 6)
        return std::nullopt;
    std::array<int, 6> f{};
    std::size_t start = 0;
    for (int& field : f) {
        const std::size_t end = textual.find(':', start);
        if (end == std::string::npos)
            break;
        field = leadingNumber(std::string_view(textual).substr(start, end - start));
        start = end + 1;
    }
    const platform::LocalTime t{f[0], f[1], f[2], f[3], f[4], f[5]};
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.year < 1 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > kDays[t.month - 1] + (t.month == 2 && isLeapYear(t.year)) || t.hour > 23 ||
        t.minute > 59 || t.second > 59)
        return std::nullopt;
    const auto moment = platform::fromLocalTime(t);
    if (!moment)
        return std::nullopt;
    return moment->seconds;
}

std::optional<std::int64_t> readTiffBlock(std::string_view bytes) {
    const TiffBlock b(bytes);
    if (b.size() < 8)
        return std::nullopt;
    const Walk first = walkDirectory(b, b.field(4, 4), [](const Entry& e) {
        return e.tag == kExifIfdTag || e.tag == kDateTimeOriginalTag;
    });
    if (!first.inBlock)
        return std::nullopt;
    std::optional<Entry> date;
    if (first.found && first.found->tag == kDateTimeOriginalTag) {
        date = first.found;
    } else if (first.found && first.found->value != 0) {
        const Walk exif = walkDirectory(
            b, first.found->value, [](const Entry& e) { return e.tag == kDateTimeOriginalTag; });
        if (!exif.inBlock)
            return std::nullopt;
        date = exif.found;
    }
    if (!date || date->value == 0 || date->value > b.size() ||
        b.size() - date->value < kDateTextSize)
        return std::nullopt;
    return momentOf(b.text(date->value, kDateTextSize));
}

// The APP1 "Exif" segment's TIFF block of a JPEG file, found by walking its segments from
// offset 2; nothing when the walk meets the image data or the end first.
std::optional<std::string> jpegTiffBlock(ByteSource& source) {
    std::uint64_t pos = 2;
    for (;;) {
        // Bytes other than FF are stepped over one by one: look for the next FF.
        std::string_view ahead = source.bytes(pos, 4096);
        const std::size_t ff = ahead.find('\xFF');
        if (ff == std::string_view::npos) {
            if (ahead.empty())
                return std::nullopt;
            pos += ahead.size();
            continue;
        }
        pos += ff;
        const std::string_view head = source.bytes(pos, 10);
        if (head.size() < 2)
            return std::nullopt;
        const auto marker = static_cast<unsigned char>(head[1]);
        if (marker == 0xDA || marker == 0xDB)
            return std::nullopt;
        if (head.size() < 4)
            return std::nullopt;
        const std::uint16_t length = bigEndian16(head, 2);
        if (marker == 0xE1 && head.size() >= 9 && head.substr(4, 4) == "Exif" && head[8] == 0) {
            if (length < 8)
                return std::nullopt;
            // A segment cut off by the end of the file gives what the file holds of it.
            return std::string(source.bytes(pos + 10, length - 8u));
        }
        pos += 2u + length;
    }
}

std::optional<std::int64_t> readSource(ByteSource& source) {
    const std::string_view magic = source.bytes(0, 4);
    if (magic.substr(0, 2) == "\xFF\xD8") {
        const auto block = jpegTiffBlock(source);
        return block ? readTiffBlock(*block) : std::nullopt;
    }
    if (magic == std::string_view("II*\0", 4) || magic == std::string_view("MM\0*", 4))
        return readTiffBlock(source.bytes(0, kTiffBlockSize));
    return std::nullopt;
}

}  // namespace

Expected<std::optional<std::int64_t>, platform::OsError> ExifReader::readFile(
    std::u16string_view path) {
    auto file = platform::ReadableFile::open(path);
    if (!file)
        return Unexpected{file.error()};
    FileSource source(std::move(*file));
    return readSource(source);
}

std::optional<std::int64_t> ExifReader::read(std::string_view content) {
    BufferSource source(content);
    return readSource(source);
}

}  // namespace soramine
