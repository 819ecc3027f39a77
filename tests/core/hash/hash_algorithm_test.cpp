#include "core/hash/hash_algorithm.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/hash/crc32.h"
#include "core/hash/md5.h"
#include "core/hash/sha1.h"

namespace soramine::hash {
namespace {

enum class Kind { Crc32, Md5, Sha1 };

std::unique_ptr<HashAlgorithm> make(Kind kind, BlockCode code) {
    switch (kind) {
        case Kind::Crc32:
            return std::make_unique<Crc32>(code);
        case Kind::Md5:
            return std::make_unique<Md5>();
        case Kind::Sha1:
            return std::make_unique<Sha1>(code);
    }
    return nullptr;
}

struct Variant {
    Kind kind;
    BlockCode code;
};

std::string label(const ::testing::TestParamInfo<Variant>& info) {
    const char* kinds[] = {"Crc32", "Md5", "Sha1"};
    return std::string(kinds[static_cast<int>(info.param.kind)]) +
           (info.param.code == BlockCode::Fastest ? "Fastest" : "Portable");
}

std::string bytes(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(rng());
    return s;
}

class DigestTest : public ::testing::TestWithParam<Variant> {
  protected:
    std::unique_ptr<HashAlgorithm> algorithm() const {
        return make(GetParam().kind, GetParam().code);
    }
    std::string oneShot(std::string_view input) const {
        auto a = algorithm();
        a->update(input);
        return hexDigest(*a, true);
    }
};

INSTANTIATE_TEST_SUITE_P(AllBlockCodes, DigestTest,
                         ::testing::Values(Variant{Kind::Crc32, BlockCode::Fastest},
                                           Variant{Kind::Crc32, BlockCode::PortableOnly},
                                           Variant{Kind::Md5, BlockCode::PortableOnly},
                                           Variant{Kind::Sha1, BlockCode::Fastest},
                                           Variant{Kind::Sha1, BlockCode::PortableOnly}),
                         label);

TEST_P(DigestTest, SelfTestPasses) {
    EXPECT_TRUE(algorithm()->selfTest());
}

struct Known {
    Kind kind;
    std::size_t repeatA;  // input: this many "a", or `text` when 0
    std::string_view text;
    std::string_view hex;
};

// Around the padding edges (55/56 bytes fit one final block, 57+ need two) and beyond.
constexpr Known kKnown[] = {
    {Kind::Crc32, 0, "", "00000000"},
    {Kind::Crc32, 0, "abc", "352441c2"},
    {Kind::Crc32, 55, "", "aadfe34e"},
    {Kind::Crc32, 56, "", "79790d37"},
    {Kind::Crc32, 63, "", "6824c5de"},
    {Kind::Crc32, 64, "", "89b46555"},
    {Kind::Crc32, 65, "", "f33faf5d"},
    {Kind::Crc32, 128, "", "f12b368c"},
    {Kind::Crc32, 1000000, "", "dc25bfbc"},
    {Kind::Md5, 0, "", "d41d8cd98f00b204e9800998ecf8427e"},
    {Kind::Md5, 0, "abc", "900150983cd24fb0d6963f7d28e17f72"},
    {Kind::Md5, 55, "", "ef1772b6dff9a122358552954ad0df65"},
    {Kind::Md5, 56, "", "3b0c8ac703f828b04c6c197006d17218"},
    {Kind::Md5, 57, "", "652b906d60af96844ebd21b674f35e93"},
    {Kind::Md5, 63, "", "b06521f39153d618550606be297466d5"},
    {Kind::Md5, 64, "", "014842d480b571495a4a0363793f7367"},
    {Kind::Md5, 119, "", "8a7bd0732ed6a28ce75f6dabc90e1613"},
    {Kind::Md5, 120, "", "5f61c0ccad4cac44c75ff505e1f1e537"},
    {Kind::Md5, 1000000, "", "7707d6ae4e027c70eea2a935c2296f21"},
    {Kind::Sha1, 0, "", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
    {Kind::Sha1, 0, "abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
    {Kind::Sha1, 55, "", "c1c8bbdc22796e28c0e15163d20899b65621d65a"},
    {Kind::Sha1, 56, "", "c2db330f6083854c99d4b5bfb6e8f29f201be699"},
    {Kind::Sha1, 57, "", "f08f24908d682555111be7ff6f004e78283d989a"},
    {Kind::Sha1, 64, "", "0098ba824b5c16427bd7a1122a5a442a25ec644d"},
    {Kind::Sha1, 65, "", "11655326c708d70319be2610e8a57d9a5b959d3b"},
    {Kind::Sha1, 119, "", "ee971065aaa017e0632a8ca6c77bb3bf8b1dfc56"},
    {Kind::Sha1, 120, "", "f34c1488385346a55709ba056ddd08280dd4c6d6"},
    {Kind::Sha1, 1000000, "", "34aa973cd4c4daa4f61eeb2bdbad27316534016f"},
};

TEST_P(DigestTest, KnownDigests) {
    for (const Known& k : kKnown) {
        if (k.kind != GetParam().kind)
            continue;
        const std::string input = k.repeatA ? std::string(k.repeatA, 'a') : std::string(k.text);
        EXPECT_EQ(oneShot(input), k.hex) << input.size() << " bytes";
    }
}

TEST_P(DigestTest, AnyChunkingGivesTheOneShotDigest) {
    // Every two-way and three-way split of a 300-byte input.
    const std::string input = bytes(300, 1);
    const std::string whole = oneShot(input);
    auto a = algorithm();
    for (std::size_t i = 0; i <= input.size(); ++i) {
        for (std::size_t j = i; j <= input.size(); j += 7) {
            a->update(input.substr(0, i));
            a->update(input.substr(i, j - i));
            a->update(input.substr(j));
            ASSERT_EQ(hexDigest(*a, true), whole) << "split at " << i << ", " << j;
        }
    }
    // Random chunk sizes, empty ones included, over inputs longer than a read.
    std::mt19937 rng(2);
    for (unsigned seed = 0; seed < 8; ++seed) {
        const std::string big = bytes(70000 + seed * 13, seed);
        std::size_t at = 0;
        while (at < big.size()) {
            const std::size_t n =
                std::min<std::size_t>(rng() % 5000 * (rng() % 2), big.size() - at);
            a->update(big.data() + at, n);
            at += n;
        }
        EXPECT_EQ(hexDigest(*a, true), oneShot(big)) << "seed " << seed;
    }
}

TEST_P(DigestTest, ByteByByteMatchesOneShotForShortLengths) {
    const std::string input = bytes(200, 3);
    auto a = algorithm();
    for (std::size_t n = 0; n <= input.size(); ++n) {
        for (std::size_t i = 0; i < n; ++i)
            a->update(&input[i], 1);
        ASSERT_EQ(hexDigest(*a, true), oneShot(input.substr(0, n))) << n << " bytes";
    }
}

TEST_P(DigestTest, FastestAndPortableAgreeAtEveryLengthAndAlignment) {
    const std::string input = bytes(600, 4);
    auto fast = make(GetParam().kind, BlockCode::Fastest);
    auto portable = make(GetParam().kind, BlockCode::PortableOnly);
    for (std::size_t offset = 0; offset < 16; ++offset) {
        for (std::size_t n = 0; n + offset <= input.size(); ++n) {
            fast->update(input.data() + offset, n);
            portable->update(input.data() + offset, n);
            ASSERT_EQ(hexDigest(*fast, true), hexDigest(*portable, true))
                << "offset " << offset << ", " << n << " bytes";
        }
    }
}

TEST_P(DigestTest, HexDigestCaseAndReset) {
    auto a = algorithm();
    a->update("abc");
    const std::string lower = hexDigest(*a, true);
    const std::string empty = hexDigest(*a, true);
    a->update("abc");
    const std::string upper = hexDigest(*a, false);
    EXPECT_EQ(lower.size(), 2 * a->digestSize());
    EXPECT_EQ(lower, oneShot("abc"));
    EXPECT_EQ(empty, oneShot(""));
    EXPECT_NE(lower, empty);
    for (std::size_t i = 0; i < lower.size(); ++i)
        EXPECT_EQ(upper[i], std::toupper(static_cast<unsigned char>(lower[i])));
}

TEST_P(DigestTest, CompareWithHex) {
    const std::string abc = oneShot("abc");
    std::string upper = abc;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string lowerFirst = abc, higherFirst = abc;
    lowerFirst[0] = abc[0] == '0' ? '1' : '0';  // first byte of the text differs
    higherFirst[0] = abc[0] == 'f' ? 'e' : 'f';
    struct Case {
        std::string text;
        int sign;  // -1, 0, 1, or kHexLengthMismatch
    } cases[] = {
        {abc, 0},
        {upper, 0},
        {abc + " trailing text", 0},
        {abc + "a", 0},  // a lone digit is not a byte
        {abc.substr(0, abc.size() - 2), kHexLengthMismatch},
        {abc + "00", kHexLengthMismatch},
        {abc.substr(0, 2) + "x" + abc.substr(3), kHexLengthMismatch},
        {"", kHexLengthMismatch},
        {std::string(5000, 'a'), kHexLengthMismatch},
        {lowerFirst, abc[0] == '0' ? -1 : 1},
        {higherFirst, abc[0] == 'f' ? 1 : -1},
    };
    auto a = algorithm();
    for (const Case& c : cases) {
        a->reset();
        a->update("abc");
        const int result = compareWithHex(*a, c.text);
        if (c.sign == kHexLengthMismatch) {
            EXPECT_EQ(result, kHexLengthMismatch) << c.text;
            // A length mismatch leaves the input in place.
            EXPECT_EQ(hexDigest(*a, true), abc) << c.text;
        } else {
            EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.text;
            EXPECT_EQ(hexDigest(*a, true), oneShot("")) << "not reset after " << c.text;
        }
    }
}

}  // namespace
}  // namespace soramine::hash
