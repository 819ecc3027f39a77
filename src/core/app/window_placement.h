#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace soramine {

class IniFile;

// Where a window was and how it was shown, as the INI keeps it in section "ウインドウ"
// ("WindowSize", "LogWindow"): the 44-byte placement record of Windows (length, flags, show
// command, minimised and maximised positions, the normal rectangle; little-endian 32-bit
// values), written in the letters encoding of IniFile::writeBinary.
struct WindowPlacement {
    enum ShowCommand : std::int32_t { kNormal = 1, kMinimized = 2, kMaximized = 3 };

    std::int32_t flags = 0;
    std::int32_t showCommand = kNormal;
    std::int32_t minX = -1, minY = -1;
    std::int32_t maxX = -1, maxY = -1;
    // The rectangle of the window when it is neither minimised nor maximised.
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;

    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

inline constexpr std::size_t kWindowPlacementSize = 44;

std::vector<std::uint8_t> encodePlacement(const WindowPlacement& placement);
// Nothing unless `bytes` is a record of exactly 44 bytes whose length field says 44 and whose
// normal rectangle is not empty.
std::optional<WindowPlacement> decodePlacement(std::span<const std::uint8_t> bytes);

std::optional<WindowPlacement> readPlacement(const IniFile& ini, std::u16string_view key);
void writePlacement(IniFile& ini, std::u16string_view key, const WindowPlacement& placement);

}  // namespace soramine
