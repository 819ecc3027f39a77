#pragma once

// Streaming digests of file contents: CRC-32 (the zip/PNG one), MD5 (RFC 1321) and SHA-1
// (FIPS 180-1). An object is used for one digest at a time: any number of update() calls,
// then hexDigest() or compareWithHex(), which reset it for the next one.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace soramine::hash {

// Which block code a digest runs: the fastest this processor offers (CRC-32 with carry-less
// multiplication, SHA-1 with the SHA instructions) or the portable code only. Both give the
// same digests; PortableOnly lets tests compare the two.
enum class BlockCode { Fastest, PortableOnly };

class HashAlgorithm {
  public:
    static constexpr std::size_t kMaxDigestSize = 20;
    static constexpr std::size_t kMaxBlockSize = 64;

    virtual ~HashAlgorithm() = default;

    // "CRC32", "MD5" or "SHA1".
    virtual std::string_view name() const = 0;
    // 4, 16 or 20.
    virtual std::size_t digestSize() const = 0;
    // 64 for all three.
    virtual std::size_t blockSize() const = 0;
    // Back to the state of an object that has seen no input.
    virtual void reset();
    // Runs the published test vectors; false at the first that does not match. Leaves the
    // object reset.
    virtual bool selfTest() = 0;
    // Processes every whole block of `data` into `state` and returns the number of bytes
    // left over (length mod block size).
    virtual std::size_t transform(const std::uint8_t* data, std::uint32_t* state,
                                  std::size_t length) const = 0;
    // Writes digestSize() bytes of the digest of the input so far. Does not change the
    // object: more input may follow.
    virtual void finalize(std::uint8_t* out) const = 0;

    // Feeds bytes; any lengths, 0 included. Whole blocks are processed straight from `data`;
    // only the tail that does not fill a block is copied.
    void update(const void* data, std::size_t length);
    void update(std::string_view bytes) { update(bytes.data(), bytes.size()); }

  protected:
    struct TestVector {
        std::string_view input;  // empty together with `millionA` for the 1,000,000 "a"
        bool millionA;
        std::string_view expectedHex;
    };

    HashAlgorithm() = default;

    // The part of selfTest() that all three share.
    bool runTestVectors(std::span<const TestVector> vectors);
    // MD5 and SHA-1: pads the pending input with 0x80, zeros and the bit length (in the byte
    // order given) and runs the final block or two through transform() on `state`, a copy of
    // the running state.
    void padInto(std::uint32_t* state, bool lengthBigEndian) const;

    std::uint64_t total_ = 0;    // bytes fed since the last reset
    std::uint32_t pending_ = 0;  // bytes waiting in buffer_
    std::array<std::uint8_t, kMaxBlockSize> buffer_{};
    std::array<std::uint32_t, 5> state_{};
};

// The digest as hexadecimal text (two digits per byte, in digest byte order), lower or
// upper case; resets the algorithm.
std::string hexDigest(HashAlgorithm& algorithm, bool lowercase);

inline constexpr int kHexLengthMismatch = -10000;

// Compares the digest with hexadecimal text (either case). The text is decoded two digits
// per byte up to the first character that is not a hex digit, or 1024 bytes at most. A
// decoded length other than digestSize() gives kHexLengthMismatch and leaves the algorithm as
// it is; otherwise the algorithm is reset and the result is 0 when equal, else negative or
// positive as memcmp(digest, decoded) orders them.
int compareWithHex(HashAlgorithm& algorithm, std::string_view expectedHex);

}  // namespace soramine::hash
