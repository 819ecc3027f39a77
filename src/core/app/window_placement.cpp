#include "core/app/window_placement.h"

#include <array>

#include "core/app/ini_file.h"
#include "core/app/main_settings.h"

namespace soramine {
namespace {

constexpr std::size_t kFieldCount = kWindowPlacementSize / 4;

// The fields in the order of the record, after its length field.
std::array<std::int32_t*, kFieldCount - 1> fieldsOf(WindowPlacement& p) {
    return {&p.flags, &p.showCommand, &p.minX, &p.minY,  &p.maxX,
            &p.maxY,  &p.left,        &p.top,  &p.right, &p.bottom};
}

void put32(std::vector<std::uint8_t>& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

std::int32_t get32(std::span<const std::uint8_t> bytes, std::size_t field) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | bytes[field * 4 + static_cast<std::size_t>(i)];
    return static_cast<std::int32_t>(v);
}

}  // namespace

std::vector<std::uint8_t> encodePlacement(const WindowPlacement& placement) {
    WindowPlacement copy = placement;
    std::vector<std::uint8_t> out;
    out.reserve(kWindowPlacementSize);
    put32(out, static_cast<std::int32_t>(kWindowPlacementSize));
    for (const std::int32_t* field : fieldsOf(copy))
        put32(out, *field);
    return out;
}

std::optional<WindowPlacement> decodePlacement(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kWindowPlacementSize ||
        get32(bytes, 0) != static_cast<std::int32_t>(kWindowPlacementSize))
        return std::nullopt;
    WindowPlacement p;
    std::size_t field = 1;
    for (std::int32_t* target : fieldsOf(p))
        *target = get32(bytes, field++);
    if (p.right <= p.left || p.bottom <= p.top)
        return std::nullopt;
    return p;
}

std::optional<WindowPlacement> readPlacement(const IniFile& ini, std::u16string_view key) {
    const auto bytes = ini.readBinary(kWindowSection, key);
    return bytes ? decodePlacement(*bytes) : std::nullopt;
}

void writePlacement(IniFile& ini, std::u16string_view key, const WindowPlacement& placement) {
    ini.writeBinary(kWindowSection, key, encodePlacement(placement));
}

}  // namespace soramine
