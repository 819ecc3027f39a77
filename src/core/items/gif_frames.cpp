#include "core/items/gif_frames.h"

#include <algorithm>
#include <cstring>

namespace soramine {
namespace {

constexpr unsigned char kExtension = 0x21;
constexpr unsigned char kImage = 0x2C;
constexpr unsigned char kTrailer = 0x3B;
constexpr unsigned char kGraphicControl = 0xF9;

// A bounds-checked reader of the file that holds a window of it, refilled from the source as
// the reading moves on: the blocks it reads at once are at most a colour table long.
class Reader {
  public:
    explicit Reader(const GifSource& source) : source_(source) {}
    std::uint64_t position() const { return at_; }
    int byte() { return fill(1) ? static_cast<unsigned char>(window_[at_++ - start_]) : -1; }
    // The next byte, left to be read; -1 at the end.
    int peek() { return fill(1) ? static_cast<unsigned char>(window_[at_ - start_]) : -1; }
    int word() {
        if (!fill(2))
            return -1;
        const char* p = window_.data() + (at_ - start_);
        at_ += 2;
        return static_cast<unsigned char>(p[0]) | static_cast<unsigned char>(p[1]) << 8;
    }
    // The next `n` bytes, valid until the next call.
    std::optional<std::string_view> take(std::size_t n) {
        if (!fill(n))
            return std::nullopt;
        const std::string_view part = std::string_view(window_).substr(at_ - start_, n);
        at_ += n;
        return part;
    }
    // Data sub-blocks up to and including their zero terminator; false when cut short.
    bool skipSubBlocks() {
        for (;;) {
            const int size = byte();
            if (size < 0)
                return false;
            if (size == 0)
                return true;
            if (!take(static_cast<std::size_t>(size)))
                return false;
        }
    }

  private:
    static constexpr std::size_t kChunk = 64 * 1024;

    // Makes the window hold `n` bytes from the reading position; false at the end.
    bool fill(std::size_t n) {
        if (at_ + n <= start_ + window_.size())
            return true;
        window_.erase(0, static_cast<std::size_t>(at_ - start_));
        start_ = at_;
        while (window_.size() < n) {
            const std::size_t have = window_.size();
            window_.resize(std::max(n, kChunk));
            const std::size_t room = window_.size() - have;
            const std::size_t got =
                std::min(source_(start_ + have, window_.data() + have, room), room);
            window_.resize(have + got);
            if (got == 0)
                return false;
        }
        return true;
    }

    const GifSource& source_;
    std::string window_;       // the bytes from start_ on
    std::uint64_t start_ = 0;  // the window's place in the file
    std::uint64_t at_ = 0;     // the reading position
};

void putWord(std::string& out, int v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

std::size_t tableBytes(int packed) {
    return (packed & 0x80) ? std::size_t{3} << ((packed & 0x07) + 1) : 0;
}

}  // namespace

GifSource gifBytesSource(std::string_view bytes) {
    return [bytes](std::uint64_t offset, char* buffer, std::size_t size) -> std::size_t {
        if (offset >= bytes.size())
            return 0;
        const std::size_t n = std::min<std::uint64_t>(size, bytes.size() - offset);
        std::memcpy(buffer, bytes.data() + offset, n);
        return n;
    };
}

std::optional<GifAnimation> splitGif(const GifSource& source, std::size_t frameLimit) {
    Reader in(source);
    const auto signature = in.take(6);
    if (!signature || (*signature != "GIF87a" && *signature != "GIF89a"))
        return std::nullopt;
    GifAnimation gif;
    gif.width = in.word();
    gif.height = in.word();
    gif.packed = in.byte();
    gif.backgroundIndex = in.byte();
    if (in.byte() < 0 || gif.width <= 0 || gif.height <= 0 || gif.width > kMaxGifSide ||
        gif.height > kMaxGifSide)
        return std::nullopt;
    const auto globalTable = in.take(tableBytes(gif.packed));
    if (!globalTable)
        return std::nullopt;
    gif.globalTable = *globalTable;
    if (static_cast<std::size_t>(gif.backgroundIndex) * 3 < gif.globalTable.size()) {
        const auto c = [&](int i) {
            return static_cast<std::uint32_t>(
                static_cast<unsigned char>(gif.globalTable[gif.backgroundIndex * 3 + i]));
        };
        gif.background = c(0) << 16 | c(1) << 8 | c(2);
    }

    std::string control;  // the graphic control extension of the next image
    int delay = 0, disposal = 0;
    while (gif.frames.size() < std::min(frameLimit, kMaxGifFrames)) {
        const int introducer = in.byte();
        if (introducer == kExtension) {
            const int label = in.byte();
            if (label == kGraphicControl && in.peek() == 4) {
                const auto body = in.take(5);  // its size byte and its four bytes
                if (!body)
                    break;
                const int flags = static_cast<unsigned char>((*body)[1]);
                disposal = (flags >> 2) & 0x07;
                delay = static_cast<unsigned char>((*body)[2]) |
                        static_cast<unsigned char>((*body)[3]) << 8;
                // The extension's 8 bytes alone, without any further sub-blocks a damaged
                // file may add.
                control = std::string("\x21\xF9", 2) + std::string(*body) + '\0';
                if (!in.skipSubBlocks())
                    break;
            } else if (label < 0 || !in.skipSubBlocks()) {
                break;
            }
        } else if (introducer == kImage) {
            GifFrame frame;
            frame.left = in.word();
            frame.top = in.word();
            frame.width = in.word();
            frame.height = in.word();
            frame.dataOffset = in.position();
            const int imagePacked = in.byte();
            if (imagePacked < 0 || !in.take(tableBytes(imagePacked)) || in.byte() < 0 ||
                !in.skipSubBlocks())
                break;
            frame.dataSize = static_cast<std::size_t>(in.position() - frame.dataOffset);
            frame.delay = delay;
            frame.disposal = disposal;
            frame.control = std::move(control);
            if (frame.width > 0 && frame.height > 0)
                gif.frames.push_back(std::move(frame));
            control.clear();
            delay = disposal = 0;
        } else {
            break;  // the trailer, the end of the bytes, or something that is no block
        }
    }
    return gif;
}

bool frameGif(const GifAnimation& gif, const GifFrame& frame, const GifSource& source,
              std::string& out) {
    out.clear();
    out += "GIF89a";
    putWord(out, frame.width);
    putWord(out, frame.height);
    out += static_cast<char>(gif.packed);
    out += static_cast<char>(gif.backgroundIndex);
    out += '\0';
    out += gif.globalTable;
    out += frame.control;
    out += static_cast<char>(kImage);
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, frame.width);
    putWord(out, frame.height);
    const std::size_t at = out.size();
    out.resize(at + frame.dataSize);
    if (source(frame.dataOffset, out.data() + at, frame.dataSize) != frame.dataSize)
        return false;
    out += static_cast<char>(kTrailer);
    return true;
}

int frameMilliseconds(const GifFrame& frame) {
    return frame.delay > 4 ? frame.delay * 10 : 100;
}

}  // namespace soramine
