#pragma once

// A GIF87a/GIF89a file split into its frames, with what animating them needs: each frame's
// place on the logical screen, its delay and its disposal, and where its image data lies in
// the file. Any frame is made a small GIF of its own (header, logical screen of the frame's
// size, colour table, its graphic control extension, its image data) that any image loader
// decodes. The file is read through a small window that moves along it and each frame's data
// is read again when it is drawn, so that a large animation is never held whole in memory.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace soramine {

// Reads up to `size` bytes at `offset` into `buffer` and says how many it read: fewer only at
// the end of the file, 0 at or past it and when reading fails.
using GifSource = std::function<std::size_t(std::uint64_t offset, char* buffer, std::size_t size)>;
// A source over bytes in memory, which must outlive it.
GifSource gifBytesSource(std::string_view bytes);

struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;  // within the logical screen
    int delay = 0;                                 // in hundredths of a second, as stored
    int disposal = 0;                              // 2: background colour, 3: what was there before
    std::string control;           // its graphic control extension (8 bytes) or nothing
    std::uint64_t dataOffset = 0;  // its image data in the file: packed byte, local colour
    std::size_t dataSize = 0;      // table, code size, sub-blocks and their terminator
};

struct GifAnimation {
    int width = 0, height = 0;     // the logical screen
    std::uint32_t background = 0;  // 0xRRGGBB, from the global colour table (black without)
    int packed = 0;                // the logical screen's flags
    int backgroundIndex = 0;
    std::string globalTable;       // the global colour table's bytes
    std::vector<GifFrame> frames;  // complete frames only, in file order
};

// Limits that keep a hostile file from making the reader or a decoder hold much memory.
inline constexpr int kMaxGifSide = 16384;
inline constexpr std::size_t kMaxGifFrames = 20000;

// Nothing when the bytes are no GIF (signature, a logical screen of 0 or more than
// kMaxGifSide on a side). A file cut short keeps the frames that were whole; a frame of no
// pixels is left out. A frame may reach outside the logical screen (its drawing is clipped).
// Reading stops after `frameLimit` frames.
std::optional<GifAnimation> splitGif(const GifSource& source,
                                     std::size_t frameLimit = kMaxGifFrames);

// Makes `frame` of `gif` a GIF of its own in `out` (whose memory is reused), reading its data
// from `source`; false when the source no longer holds it whole (the file changed).
bool frameGif(const GifAnimation& gif, const GifFrame& frame, const GifSource& source,
              std::string& out);

// How long a frame stays: its delay x 10 ms when the delay is more than 4, else 100 ms.
int frameMilliseconds(const GifFrame& frame);

}  // namespace soramine
