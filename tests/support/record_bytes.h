#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings/records.h"

namespace soramine::testing {

// One saved-settings record as the file holds it: four little-endian uint32 values.
inline std::string recordBytes(std::uint32_t id, std::uint32_t kind, std::uint32_t count,
                               std::uint32_t value) {
    std::string out;
    for (std::uint32_t v : {id, kind, count, value})
        appendUint32(out, v);
    return out;
}

// A text as a block's text area holds it: UTF-16LE, no terminator.
inline std::string utf16le(std::u16string_view text) {
    std::string out;
    for (char16_t c : text)
        appendUint16(out, static_cast<std::uint16_t>(c));
    return out;
}

}  // namespace soramine::testing
