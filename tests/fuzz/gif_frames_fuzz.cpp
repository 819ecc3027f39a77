// Any bytes as a GIF file: split without a crash, with bounded output, and every frame made a
// GIF of its own that splits again into exactly that frame.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/items/gif_frames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace soramine;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto gif = splitGif(bytes);
    if (!gif)
        return 0;
    if (gif->frames.size() > kMaxGifFrames)
        __builtin_trap();
    for (const GifFrame& frame : gif->frames) {
        if (frame.gif.size() > size + 800)
            __builtin_trap();
        const auto alone = splitGif(frame.gif);
        if (frame.width <= kMaxGifSide && frame.height <= kMaxGifSide &&
            (!alone || alone->frames.size() != 1 || alone->frames[0].gif != frame.gif))
            __builtin_trap();
    }
    return 0;
}
