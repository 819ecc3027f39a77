#pragma once

// A GIF87a/GIF89a file split into its frames, each made a small GIF of its own (header,
// logical screen of the frame's size, colour table, its graphic control extension, its image
// data) that any image loader decodes, with what animating it needs: the frame's place on the
// logical screen, its delay and its disposal.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace soramine {

struct GifFrame {
    int left = 0, top = 0, width = 0, height = 0;  // within the logical screen
    int delay = 0;                                 // in hundredths of a second, as stored
    int disposal = 0;                              // 2: background colour, 3: what was there before
    std::string gif;                               // the frame as a GIF of its own
};

struct GifAnimation {
    int width = 0, height = 0;     // the logical screen
    std::uint32_t background = 0;  // 0xRRGGBB, from the global colour table (black without)
    std::vector<GifFrame> frames;  // complete frames only, in file order
};

// Limits that keep a hostile file from making the reader or a decoder hold much memory.
inline constexpr int kMaxGifSide = 16384;
inline constexpr std::size_t kMaxGifFrames = 20000;

// Nothing when the bytes are no GIF (signature, a logical screen of 0 or more than
// kMaxGifSide on a side). A file cut short keeps the frames that were whole; a frame of no
// pixels is left out. A frame may reach outside the logical screen (its drawing is clipped).
std::optional<GifAnimation> splitGif(std::string_view bytes);

// How long a frame stays: its delay x 10 ms when the delay is more than 4, else 100 ms.
int frameMilliseconds(const GifFrame& frame);

}  // namespace soramine
