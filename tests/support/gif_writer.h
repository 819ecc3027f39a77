#pragma once

// Writes small GIF files for tests and benchmarks: four colours, frames of one colour index per
// pixel, LZW data that sends a clear code every two pixels (so that the code size never grows).

#include <cstdint>
#include <string>
#include <vector>

namespace soramine::testing {

struct GifFrameSpec {
    int left = 0, top = 0, width = 1, height = 1;
    int delay = 0, disposal = 0;
    std::vector<std::uint8_t> pixels;  // colour indexes 0-3, row by row; empty: all 1
};

inline std::string gifWord(int v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}

// Colours: 0 black, 1 red, 2 green, 3 blue; background index 0.
inline std::string makeGif(int width, int height, const std::vector<GifFrameSpec>& frames,
                           bool version87 = false) {
    std::string gif = version87 ? "GIF87a" : "GIF89a";
    gif += gifWord(width) + gifWord(height);
    gif += "\x81";  // a global table of 4 colours
    gif += std::string("\0\0", 2);
    gif += std::string("\0\0\0\xFF\0\0\0\xFF\0\0\0\xFF", 12);
    for (const GifFrameSpec& f : frames) {
        if (!version87) {
            gif += "\x21\xF9\x04";
            gif += static_cast<char>((f.disposal & 7) << 2);
            gif += gifWord(f.delay);
            gif += std::string("\0\0", 2);
        }
        gif += "\x2C" + gifWord(f.left) + gifWord(f.top) + gifWord(f.width) + gifWord(f.height);
        gif += '\0';
        gif += '\x02';  // LZW minimum code size
        std::vector<int> codes;
        const std::size_t count = static_cast<std::size_t>(f.width) * f.height;
        for (std::size_t i = 0; i < count; ++i) {
            if (i % 2 == 0)
                codes.push_back(4);
            codes.push_back(f.pixels.empty() ? 1 : f.pixels[i]);
        }
        codes.push_back(5);
        std::string data;
        unsigned bits = 0, filled = 0;
        for (int code : codes) {
            bits |= static_cast<unsigned>(code) << filled;
            filled += 3;
            while (filled >= 8) {
                data += static_cast<char>(bits & 0xFF);
                bits >>= 8;
                filled -= 8;
            }
        }
        if (filled)
            data += static_cast<char>(bits & 0xFF);
        for (std::size_t at = 0; at < data.size(); at += 255) {
            const std::string block = data.substr(at, 255);
            gif += static_cast<char>(block.size());
            gif += block;
        }
        gif += '\0';
    }
    gif += '\x3B';
    return gif;
}

}  // namespace soramine::testing
