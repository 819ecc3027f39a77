// Any bytes as a GIF file: split without a crash, with bounded output, and every frame made a
// GIF of its own that splits again into exactly that frame.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/items/gif_frames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace soramine;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const GifSource source = gifBytesSource(bytes);
    const auto gif = splitGif(source);
    if (!gif)
        return 0;
    if (gif->frames.size() > kMaxGifFrames)
        __builtin_trap();
    std::string own, again;
    for (const GifFrame& frame : gif->frames) {
        if (!frameGif(*gif, frame, source, own) || own.size() > size + 800)
            __builtin_trap();
        const auto alone = splitGif(gifBytesSource(own));
        if (frame.width <= kMaxGifSide && frame.height <= kMaxGifSide &&
            (!alone || alone->frames.size() != 1 ||
             !frameGif(*alone, alone->frames[0], gifBytesSource(own), again) || again != own))
            __builtin_trap();
    }
    return 0;
}
