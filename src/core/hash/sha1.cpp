#include "core/hash/sha1.h"

#include <bit>

#include "core/hash/byte_order.h"

#if defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace soramine::hash {

namespace {

// The schedule keeps the last 16 words only; word i replaces word i - 16.
#define SHA1_W(i) \
    (w[(i)&15] =  \
         std::rotl(w[((i) + 13) & 15] ^ w[((i) + 8) & 15] ^ w[((i) + 2) & 15] ^ w[(i)&15], 1))

// One round: e takes the new value, b is rotated; the caller rotates the roles of a..e.
#define SHA1_R0(a, b, c, d, e, i)                                           \
    w[i] = load32be(p + 4 * (i));                                           \
    e += std::rotl(a, 5) + ((d) ^ ((b) & ((c) ^ (d)))) + w[i] + 0x5A827999; \
    b = std::rotl(b, 30);
#define SHA1_R1(a, b, c, d, e, i)                                                \
    e += std::rotl(a, 5) + ((d) ^ ((b) & ((c) ^ (d)))) + SHA1_W(i) + 0x5A827999; \
    b = std::rotl(b, 30);
#define SHA1_R2(a, b, c, d, e, i)                                      \
    e += std::rotl(a, 5) + ((b) ^ (c) ^ (d)) + SHA1_W(i) + 0x6ED9EBA1; \
    b = std::rotl(b, 30);
// Majority: the two terms have no bit in common, so they can be added.
#define SHA1_R3(a, b, c, d, e, i)                                                        \
    e += std::rotl(a, 5) + (((b) & (c)) + ((d) & ((b) ^ (c)))) + SHA1_W(i) + 0x8F1BBCDC; \
    b = std::rotl(b, 30);
#define SHA1_R4(a, b, c, d, e, i)                                      \
    e += std::rotl(a, 5) + ((b) ^ (c) ^ (d)) + SHA1_W(i) + 0xCA62C1D6; \
    b = std::rotl(b, 30);

#define SHA1_FIVE(R, i)       \
    R(a, b, c, d, e, (i))     \
    R(e, a, b, c, d, (i) + 1) \
    R(d, e, a, b, c, (i) + 2) \
    R(c, d, e, a, b, (i) + 3) \
    R(b, c, d, e, a, (i) + 4)

void sha1BlocksPortable(std::uint32_t* state, const std::uint8_t* p, std::size_t blocks) {
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    std::uint32_t w[16];
    for (; blocks > 0; --blocks, p += 64) {
        const std::uint32_t a0 = a, b0 = b, c0 = c, d0 = d, e0 = e;
        SHA1_FIVE(SHA1_R0, 0)
        SHA1_FIVE(SHA1_R0, 5)
        SHA1_FIVE(SHA1_R0, 10)
        SHA1_R0(a, b, c, d, e, 15)
        SHA1_R1(e, a, b, c, d, 16)
        SHA1_R1(d, e, a, b, c, 17)
        SHA1_R1(c, d, e, a, b, 18)
        SHA1_R1(b, c, d, e, a, 19)
        SHA1_FIVE(SHA1_R2, 20)
        SHA1_FIVE(SHA1_R2, 25)
        SHA1_FIVE(SHA1_R2, 30)
        SHA1_FIVE(SHA1_R2, 35)
        SHA1_FIVE(SHA1_R3, 40)
        SHA1_FIVE(SHA1_R3, 45)
        SHA1_FIVE(SHA1_R3, 50)
        SHA1_FIVE(SHA1_R3, 55)
        SHA1_FIVE(SHA1_R4, 60)
        SHA1_FIVE(SHA1_R4, 65)
        SHA1_FIVE(SHA1_R4, 70)
        SHA1_FIVE(SHA1_R4, 75)
        a += a0;
        b += b0;
        c += c0;
        d += d0;
        e += e0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
    state[4] = e;
}

#undef SHA1_W
#undef SHA1_R0
#undef SHA1_R1
#undef SHA1_R2
#undef SHA1_R3
#undef SHA1_R4
#undef SHA1_FIVE

#if defined(__x86_64__)

bool cpuHasShaExtensions() {
    unsigned eax, ebx, ecx, edx;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx) || !(ecx & bit_SSE4_1))
        return false;
    if (!__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx))
        return false;
    return (ebx & (1u << 29)) != 0;
}

#define SHA_TARGET __attribute__((target("sha,sse4.1"), always_inline)) inline

// Four rounds with the SHA instructions. msg[g % 4] holds words 4g..4g+3; while group g
// runs, the schedule finishes the words of group g + 1 and starts those of g + 2 and g + 3.
// e[g % 2] carries E into these rounds, e[(g + 1) % 2] keeps A for the next group's E.
template <int G>
SHA_TARGET void sha1Group(__m128i& abcd, __m128i* e, __m128i* msg) {
    __m128i& current = e[G % 2];
    if constexpr (G == 0)
        current = _mm_add_epi32(current, msg[0]);
    else
        current = _mm_sha1nexte_epu32(current, msg[G % 4]);
    e[(G + 1) % 2] = abcd;
    if constexpr (G >= 3 && G <= 18)
        msg[(G + 1) % 4] = _mm_sha1msg2_epu32(msg[(G + 1) % 4], msg[G % 4]);
    abcd = _mm_sha1rnds4_epu32(abcd, current, G / 5);
    if constexpr (G >= 1 && G <= 16)
        msg[(G + 3) % 4] = _mm_sha1msg1_epu32(msg[(G + 3) % 4], msg[G % 4]);
    if constexpr (G >= 2 && G <= 17)
        msg[(G + 2) % 4] = _mm_xor_si128(msg[(G + 2) % 4], msg[G % 4]);
}

template <int G>
SHA_TARGET void sha1Groups(__m128i& abcd, __m128i* e, __m128i* msg) {
    sha1Group<G>(abcd, e, msg);
    if constexpr (G < 19)
        sha1Groups<G + 1>(abcd, e, msg);
}

__attribute__((target("sha,sse4.1"))) void sha1BlocksSha(std::uint32_t* state,
                                                         const std::uint8_t* p,
                                                         std::size_t blocks) {
    // The words arrive big-endian; the instructions want word 0 in the top lane.
    const __m128i reverse = _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL);
    __m128i abcd =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
    __m128i e[2] = {_mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0), _mm_setzero_si128()};
    for (; blocks > 0; --blocks, p += 64) {
        const __m128i abcdSaved = abcd;
        const __m128i eSaved = e[0];
        __m128i msg[4];
        for (int i = 0; i < 4; ++i) {
            msg[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i)),
                                      reverse);
        }
        sha1Groups<0>(abcd, e, msg);
        // After the last (odd) group e[0] holds A of round 76, from which E follows.
        e[0] = _mm_sha1nexte_epu32(e[0], eSaved);
        abcd = _mm_add_epi32(abcd, abcdSaved);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(abcd, 0x1B));
    state[4] = static_cast<std::uint32_t>(_mm_extract_epi32(e[0], 3));
}

#undef SHA_TARGET

#endif

}  // namespace

Sha1::Sha1(BlockCode code) : blocks_(sha1BlocksPortable) {
#if defined(__x86_64__)
    static const bool hasSha = cpuHasShaExtensions();
    if (code == BlockCode::Fastest && hasSha)
        blocks_ = sha1BlocksSha;
#else
    (void)code;
#endif
    reset();
}

void Sha1::reset() {
    HashAlgorithm::reset();
    state_ = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
}

std::size_t Sha1::transform(const std::uint8_t* data, std::uint32_t* state,
                            std::size_t length) const {
    blocks_(state, data, length / 64);
    return length % 64;
}

void Sha1::finalize(std::uint8_t* out) const {
    auto state = state_;
    padInto(state.data(), true);
    for (int i = 0; i < 20; ++i)
        out[i] = static_cast<std::uint8_t>(state[i / 4] >> (8 * (3 - i % 4)));
}

bool Sha1::selfTest() {
    static constexpr TestVector kVectors[] = {
        {"", false, "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {"abc", false, "a9993e364706816aba3e25717850c26c9cd0d89d"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", false,
         "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        {"", true, "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
    };
    return runTestVectors(kVectors);
}

}  // namespace soramine::hash
