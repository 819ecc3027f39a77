#include "core/app/window_placement.h"

#include "core/app/ini_file.h"
#include "core/app/main_settings.h"

namespace soramine {
namespace {

// The record's fields after its length, in their order.
std::array<std::int32_t, 10> fieldsOf(const WindowPlacement& p) {
    return {p.flags,         p.showCommand, p.minPosition.x, p.minPosition.y, p.maxPosition.x,
            p.maxPosition.y, p.normal.left, p.normal.top,    p.normal.right,  p.normal.bottom};
}

std::int32_t fieldAt(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return static_cast<std::int32_t>(v);
}

}  // namespace

std::array<std::uint8_t, WindowPlacement::kSize> encodePlacement(const WindowPlacement& p) {
    std::array<std::uint8_t, WindowPlacement::kSize> out{};
    std::size_t at = 0;
    auto put = [&](std::int32_t value) {
        const auto v = static_cast<std::uint32_t>(value);
        for (std::size_t i = 0; i < 4; ++i)
            out[at++] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put(static_cast<std::int32_t>(WindowPlacement::kSize));
    for (std::int32_t field : fieldsOf(p))
        put(field);
    return out;
}

std::optional<WindowPlacement> decodePlacement(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != WindowPlacement::kSize)
        return std::nullopt;
    WindowPlacement p;
    std::int32_t* fields[] = {
        &p.flags,         &p.showCommand, &p.minPosition.x, &p.minPosition.y, &p.maxPosition.x,
        &p.maxPosition.y, &p.normal.left, &p.normal.top,    &p.normal.right,  &p.normal.bottom};
    std::size_t at = 4;  // after the length field
    for (std::int32_t* field : fields) {
        *field = fieldAt(bytes, at);
        at += 4;
    }
    return p;
}

std::optional<WindowPlacement> readWindowPlacement(const IniFile& ini, std::u16string_view key) {
    const auto bytes = ini.readBinary(kWindowSection, key);
    if (!bytes)
        return std::nullopt;
    return decodePlacement(*bytes);
}

void writeWindowPlacement(IniFile& ini, std::u16string_view key, const WindowPlacement& p) {
    ini.writeBinary(kWindowSection, key, encodePlacement(p));
}

}  // namespace soramine
