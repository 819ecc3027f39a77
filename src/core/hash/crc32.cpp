#include "core/hash/crc32.h"

#include <array>

#include "core/hash/byte_order.h"

#if defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace soramine::hash {

namespace {

// kTables[0] is the byte-at-a-time table of the reflected polynomial 0xEDB88320; kTables[k]
// advances a byte through k further zero bytes, so that eight bytes are folded at once.
constexpr std::array<std::array<std::uint32_t, 256>, 8> makeTables() {
    std::array<std::array<std::uint32_t, 256>, 8> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t r = i;
        for (int bit = 0; bit < 8; ++bit)
            r = (r >> 1) ^ ((r & 1) ? 0xEDB88320u : 0u);
        t[0][i] = r;
    }
    for (std::size_t k = 1; k < 8; ++k) {
        for (std::size_t i = 0; i < 256; ++i)
            t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    }
    return t;
}

constexpr auto kTables = makeTables();

std::uint32_t crcByte(std::uint32_t r, std::uint8_t byte) {
    return (r >> 8) ^ kTables[0][(r ^ byte) & 0xFF];
}

std::uint32_t crcBlocksPortable(std::uint32_t r, const std::uint8_t* p, std::size_t blocks) {
    for (std::size_t n = blocks * 8; n > 0; --n, p += 8) {
        const std::uint32_t lo = load32le(p) ^ r;
        const std::uint32_t hi = load32le(p + 4);
        r = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^
            kTables[4][lo >> 24] ^ kTables[3][hi & 0xFF] ^ kTables[2][(hi >> 8) & 0xFF] ^
            kTables[1][(hi >> 16) & 0xFF] ^ kTables[0][hi >> 24];
    }
    return r;
}

#if defined(__x86_64__)

bool cpuHasCarrylessMultiply() {
    unsigned eax, ebx, ecx, edx;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx))
        return false;
    return (ecx & bit_PCLMUL) && (ecx & bit_SSE4_1);
}

// Folding with carry-less multiplication: four 128-bit lanes are folded forward over each
// 64-byte block, then into one lane, then reduced to 32 bits (Barrett). The constants are
// powers of x modulo the polynomial, bit-reflected: x^(4*128+32) and x^(4*128-32) for the
// four-lane fold, x^(128+32) and x^(128-32) for one lane, x^64, then the polynomial and
// floor(x^64 / P).
__attribute__((target("pclmul,sse4.1"))) std::uint32_t crcBlocksClmul(std::uint32_t r,
                                                                      const std::uint8_t* p,
                                                                      std::size_t blocks) {
    if (blocks == 0)
        return r;
    auto load = [](const std::uint8_t* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    };
    const __m128i k1k2 = _mm_set_epi64x(0x1c6e41596LL, 0x154442bd4LL);
    const __m128i k3k4 = _mm_set_epi64x(0x0ccaa009eLL, 0x1751997d0LL);
    const __m128i k5 = _mm_set_epi64x(0, 0x163cd6124LL);
    const __m128i poly = _mm_set_epi64x(0x1f7011641LL, 0x1db710641LL);
    const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);

    __m128i x1 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(static_cast<int>(r)));
    __m128i x2 = load(p + 16);
    __m128i x3 = load(p + 32);
    __m128i x4 = load(p + 48);
    for (p += 64, --blocks; blocks > 0; --blocks, p += 64) {
        const __m128i y1 = _mm_clmulepi64_si128(x1, k1k2, 0x00);
        const __m128i y2 = _mm_clmulepi64_si128(x2, k1k2, 0x00);
        const __m128i y3 = _mm_clmulepi64_si128(x3, k1k2, 0x00);
        const __m128i y4 = _mm_clmulepi64_si128(x4, k1k2, 0x00);
        x1 = _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x1, k1k2, 0x11), y1), load(p));
        x2 = _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x2, k1k2, 0x11), y2), load(p + 16));
        x3 = _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x3, k1k2, 0x11), y3), load(p + 32));
        x4 = _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x4, k1k2, 0x11), y4), load(p + 48));
    }

    // Four lanes into one.
    const __m128i rest[3] = {x2, x3, x4};
    for (const __m128i& next : rest) {
        const __m128i lo = _mm_clmulepi64_si128(x1, k3k4, 0x00);
        x1 = _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x1, k3k4, 0x11), next), lo);
    }

    // 128 bits to 64, then to the 32-bit remainder.
    __m128i x = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, k3k4, 0x10));
    x = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x, low32), k5, 0x00),
                      _mm_srli_si128(x, 4));
    __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x, low32), poly, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), poly, 0x00);
    return static_cast<std::uint32_t>(_mm_extract_epi32(_mm_xor_si128(x, t), 1));
}

#endif

}  // namespace

Crc32::Crc32(BlockCode code) : blocks_(crcBlocksPortable) {
#if defined(__x86_64__)
    static const bool hasClmul = cpuHasCarrylessMultiply();
    if (code == BlockCode::Fastest && hasClmul)
        blocks_ = crcBlocksClmul;
#else
    (void)code;
#endif
    reset();
}

void Crc32::reset() {
    HashAlgorithm::reset();
    state_ = {0xFFFFFFFF, 0, 0, 0, 0};
}

std::size_t Crc32::transform(const std::uint8_t* data, std::uint32_t* state,
                             std::size_t length) const {
    state[0] = blocks_(state[0], data, length / 64);
    return length % 64;
}

void Crc32::finalize(std::uint8_t* out) const {
    std::uint32_t r = state_[0];
    for (std::uint32_t i = 0; i < pending_; ++i)
        r = crcByte(r, buffer_[i]);
    r = ~r;
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<std::uint8_t>(r >> (8 * (3 - i)));
}

bool Crc32::selfTest() {
    static constexpr TestVector kVectors[] = {
        {"", false, "00000000"},
        {"abc", false, "352441c2"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", false, "171a3f5f"},
        {"", true, "dc25bfbc"},
    };
    return runTestVectors(kVectors);
}

}  // namespace soramine::hash
