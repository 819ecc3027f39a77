#include "core/items/gif_frames.h"

namespace soramine {
namespace {

constexpr unsigned char kExtension = 0x21;
constexpr unsigned char kImage = 0x2C;
constexpr unsigned char kTrailer = 0x3B;
constexpr unsigned char kGraphicControl = 0xF9;

// A bounds-checked reader of the file's bytes.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool has(std::size_t n) const { return bytes_.size() - at_ >= n; }
    std::size_t position() const { return at_; }
    int byte() { return has(1) ? static_cast<unsigned char>(bytes_[at_++]) : -1; }
    int word() {
        if (!has(2))
            return -1;
        const int v = static_cast<unsigned char>(bytes_[at_]) |
                      static_cast<unsigned char>(bytes_[at_ + 1]) << 8;
        at_ += 2;
        return v;
    }
    std::optional<std::string_view> take(std::size_t n) {
        if (!has(n))
            return std::nullopt;
        const std::string_view part = bytes_.substr(at_, n);
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
    std::string_view since(std::size_t start) const { return bytes_.substr(start, at_ - start); }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

void putWord(std::string& out, int v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

std::size_t tableBytes(int packed) {
    return (packed & 0x80) ? std::size_t{3} << ((packed & 0x07) + 1) : 0;
}

}  // namespace

std::optional<GifAnimation> splitGif(std::string_view bytes) {
    Reader in(bytes);
    const auto signature = in.take(6);
    if (!signature || (*signature != "GIF87a" && *signature != "GIF89a"))
        return std::nullopt;
    GifAnimation gif;
    gif.width = in.word();
    gif.height = in.word();
    const int packed = in.byte();
    const int backgroundIndex = in.byte();
    if (in.byte() < 0 || gif.width <= 0 || gif.height <= 0 || gif.width > kMaxGifSide ||
        gif.height > kMaxGifSide)
        return std::nullopt;
    const auto globalTable = in.take(tableBytes(packed));
    if (!globalTable)
        return std::nullopt;
    if (!globalTable->empty() &&
        static_cast<std::size_t>(backgroundIndex) * 3 < globalTable->size()) {
        const auto c = [&](int i) {
            return static_cast<std::uint32_t>(
                static_cast<unsigned char>((*globalTable)[backgroundIndex * 3 + i]));
        };
        gif.background = c(0) << 16 | c(1) << 8 | c(2);
    }

    std::string_view control;  // the graphic control extension of the next image
    int delay = 0, disposal = 0;
    while (gif.frames.size() < kMaxGifFrames) {
        const std::size_t blockStart = in.position();
        const int introducer = in.byte();
        if (introducer == kExtension) {
            const int label = in.byte();
            if (label == kGraphicControl && in.has(5) && bytes[in.position()] == 4) {
                const auto body = in.take(5);  // its size byte and its four bytes
                const int flags = static_cast<unsigned char>((*body)[1]);
                disposal = (flags >> 2) & 0x07;
                delay = static_cast<unsigned char>((*body)[2]) |
                        static_cast<unsigned char>((*body)[3]) << 8;
                if (!in.skipSubBlocks())
                    break;
                control = in.since(blockStart);
            } else if (label < 0 || !in.skipSubBlocks()) {
                break;
            }
        } else if (introducer == kImage) {
            GifFrame frame;
            frame.left = in.word();
            frame.top = in.word();
            frame.width = in.word();
            frame.height = in.word();
            const int imagePacked = in.byte();
            if (imagePacked < 0)
                break;
            const std::size_t dataStart = in.position();
            if (!in.take(tableBytes(imagePacked)) || in.byte() < 0 || !in.skipSubBlocks())
                break;
            const std::string_view data = in.since(dataStart);
            frame.delay = delay;
            frame.disposal = disposal;
            if (frame.width > 0 && frame.height > 0) {
                std::string& out = frame.gif;
                out.reserve(13 + globalTable->size() + control.size() + 10 + data.size() + 1);
                out += "GIF89a";
                putWord(out, frame.width);
                putWord(out, frame.height);
                out += static_cast<char>(packed);
                out += static_cast<char>(backgroundIndex);
                out += '\0';
                out += *globalTable;
                out += control;
                out += static_cast<char>(kImage);
                putWord(out, 0);
                putWord(out, 0);
                putWord(out, frame.width);
                putWord(out, frame.height);
                out += static_cast<char>(imagePacked);
                out += data;
                out += static_cast<char>(kTrailer);
                gif.frames.push_back(std::move(frame));
            }
            control = {};
            delay = disposal = 0;
        } else {
            break;  // the trailer, the end of the bytes, or something that is no block
        }
    }
    return gif;
}

int frameMilliseconds(const GifFrame& frame) {
    return frame.delay > 4 ? frame.delay * 10 : 100;
}

}  // namespace soramine
