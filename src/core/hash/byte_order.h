#pragma once

// Loads of 32-bit words from unaligned bytes, for the block functions of the digests.

#include <bit>
#include <cstdint>
#include <cstring>

namespace soramine::hash {

inline std::uint32_t load32le(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap32(v);
    return v;
}

inline std::uint32_t load32be(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (std::endian::native == std::endian::little)
        v = __builtin_bswap32(v);
    return v;
}

}  // namespace soramine::hash
