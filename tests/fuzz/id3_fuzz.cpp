// Any bytes as an MP3 file's start and end: reading the tags never fails, and the frames read
// from an ID3v2 tag, written as a version 2.3 tag, read back as the same frames, also after
// new values were put in front of them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/methods/id3.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace soramine::id3;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view record = bytes.substr(0, kV1Size);
    const TagValues v1 = readV1(record);
    const std::string updated = updateV1(record, {u"7", v1.title, u"歌", u"", u"13"});
    if (!isV1(updated))
        __builtin_trap();
    (void)readV2Values(bytes);
    (void)classifyStart(bytes);
    const auto frames = readFrames(bytes);
    if (!frames)
        return 0;
    for (const auto& written : {*frames, rebuiltTagFrames({u"1", u"T", u"", u"", u"2"}, *frames),
                                newTagFrames(v1, updated)}) {
        const auto tag = writeTag(written, kNewTagBody);
        if (!tag)
            continue;
        const auto back = readFrames(*tag);
        if (!back || *back != written)
            __builtin_trap();
    }
    return 0;
}
