#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace soramine {

class IniFile;

// A window's placement as the INI file keeps it ("WindowSize", "LogWindow"): the 44-byte
// record of length, flags, show command, minimised and maximised positions and the normal
// rectangle, little-endian 32-bit fields, stored in the letters encoding of writeBinary.
struct WindowPlacement {
    enum ShowCommand : std::int32_t { kNormal = 1, kMinimized = 2, kMaximized = 3 };
    struct Point {
        std::int32_t x = -1, y = -1;
        friend bool operator==(const Point&, const Point&) = default;
    };
    struct Rect {
        std::int32_t left = 0, top = 0, right = 0, bottom = 0;
        friend bool operator==(const Rect&, const Rect&) = default;
    };

    static constexpr std::size_t kSize = 44;

    std::int32_t flags = 0;
    std::int32_t showCommand = kNormal;
    Point minPosition;
    Point maxPosition;
    Rect normal;

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

std::array<std::uint8_t, WindowPlacement::kSize> encodePlacement(const WindowPlacement& p);
// Nothing unless the bytes are exactly 44.
std::optional<WindowPlacement> decodePlacement(std::span<const std::uint8_t> bytes);

// The placement under [ウインドウ] `key`; nothing when it is missing or not 44 bytes.
std::optional<WindowPlacement> readWindowPlacement(const IniFile& ini, std::u16string_view key);
void writeWindowPlacement(IniFile& ini, std::u16string_view key, const WindowPlacement& p);

}  // namespace soramine
