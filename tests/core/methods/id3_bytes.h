#pragma once

// ID3 tags built byte by byte for the tests, as other programs write them.

#include <cstdint>
#include <string>
#include <string_view>

namespace soramine::testing {

using namespace std::string_literals;

inline std::string be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}

inline std::string syncsafe(std::uint32_t v) {
    return {static_cast<char>((v >> 21) & 0x7F), static_cast<char>((v >> 14) & 0x7F),
            static_cast<char>((v >> 7) & 0x7F), static_cast<char>(v & 0x7F)};
}

// A frame as a tag of `version` stores it.
inline std::string frame(std::string_view id, std::string_view data, int version = 3,
                         std::string_view flags = "\0\0"s) {
    return std::string(id) +
           (version == 4 ? syncsafe(static_cast<std::uint32_t>(data.size()))
                         : be32(static_cast<std::uint32_t>(data.size()))) +
           std::string(flags) + std::string(data);
}

// A tag of the frames' bytes followed by `padding` zero bytes.
inline std::string tag(std::string_view frames, int version = 3, std::size_t padding = 0,
                       char flags = 0) {
    return "ID3"s + static_cast<char>(version) + '\0' + flags +
           syncsafe(static_cast<std::uint32_t>(frames.size() + padding)) + std::string(frames) +
           std::string(padding, '\0');
}

// An ID3v1.1 comment: `text` padded to 28 bytes, then 00 and the track number.
inline std::string withTrack(std::string text, int track) {
    text.resize(28, '\0');
    return text + '\0' + static_cast<char>(track);
}

// An ID3v1 record: title, artist, album, year, comment (30 bytes with the track pair), genre.
inline std::string v1(std::string_view title, std::string_view artist, std::string_view album,
                      std::string_view year, std::string_view comment, char genre) {
    const auto field = [](std::string_view s, std::size_t n) {
        std::string f(s);
        f.resize(n, '\0');
        return f;
    };
    return "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + field(year, 4) +
           field(comment, 30) + genre;
}

// MPEG audio: a Layer III frame header without CRC (FF FB), then `size` - 4 bytes of a pattern
// without zeros.
inline std::string audio(std::size_t size = 2000) {
    std::string out = "\xFF\xFB\x90\x64"s;
    for (std::size_t i = 4; i < size; ++i)
        out += static_cast<char>(1 + i % 251);
    return out;
}

}  // namespace soramine::testing
