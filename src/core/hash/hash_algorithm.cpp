#include "core/hash/hash_algorithm.h"

#include <cstring>

namespace soramine::hash {

namespace {

constexpr std::size_t kMaxHexBytes = 1024;

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

void HashAlgorithm::reset() {
    total_ = 0;
    pending_ = 0;
}

void HashAlgorithm::update(const void* data, std::size_t length) {
    if (length == 0)
        return;
    auto bytes = static_cast<const std::uint8_t*>(data);
    const std::size_t block = blockSize();
    total_ += length;
    if (pending_ > 0) {
        if (pending_ + length < block) {
            std::memcpy(buffer_.data() + pending_, bytes, length);
            pending_ += static_cast<std::uint32_t>(length);
            return;
        }
        const std::size_t fill = block - pending_;
        std::memcpy(buffer_.data() + pending_, bytes, fill);
        transform(buffer_.data(), state_.data(), block);
        pending_ = 0;
        bytes += fill;
        length -= fill;
    }
    if (length == 0)
        return;
    const std::size_t left = transform(bytes, state_.data(), length);
    std::memcpy(buffer_.data(), bytes + (length - left), left);
    pending_ = static_cast<std::uint32_t>(left);
}

void HashAlgorithm::padInto(std::uint32_t* state, bool lengthBigEndian) const {
    const std::size_t block = blockSize();
    std::array<std::uint8_t, 2 * kMaxBlockSize> tail{};
    std::memcpy(tail.data(), buffer_.data(), pending_);
    tail[pending_] = 0x80;
    // The 8 length bytes must fit after the 0x80: more than block - 9 pending bytes need a
    // second block.
    const std::size_t size = pending_ + 9 <= block ? block : 2 * block;
    const std::uint64_t bits = total_ * 8;
    for (int i = 0; i < 8; ++i) {
        const int shift = lengthBigEndian ? 8 * (7 - i) : 8 * i;
        tail[size - 8 + i] = static_cast<std::uint8_t>(bits >> shift);
    }
    transform(tail.data(), state, size);
}

bool HashAlgorithm::runTestVectors(std::span<const TestVector> vectors) {
    const std::string millionA(1000000, 'a');
    for (const TestVector& v : vectors) {
        reset();
        update(v.millionA ? std::string_view(millionA) : v.input);
        if (compareWithHex(*this, v.expectedHex) != 0) {
            reset();
            return false;
        }
    }
    return true;
}

std::string hexDigest(HashAlgorithm& algorithm, bool lowercase) {
    const char* digits = lowercase ? "0123456789abcdef" : "0123456789ABCDEF";
    std::array<std::uint8_t, HashAlgorithm::kMaxDigestSize> digest{};
    algorithm.finalize(digest.data());
    algorithm.reset();
    std::string hex;
    for (std::size_t i = 0; i < algorithm.digestSize(); ++i) {
        hex += digits[digest[i] >> 4];
        hex += digits[digest[i] & 0xF];
    }
    return hex;
}

int compareWithHex(HashAlgorithm& algorithm, std::string_view expectedHex) {
    std::array<std::uint8_t, kMaxHexBytes> expected{};
    std::size_t count = 0;
    while (count < kMaxHexBytes && 2 * count + 1 < expectedHex.size()) {
        const int high = hexValue(expectedHex[2 * count]);
        const int low = hexValue(expectedHex[2 * count + 1]);
        if (high < 0 || low < 0)
            break;
        expected[count++] = static_cast<std::uint8_t>(high << 4 | low);
    }
    if (count != algorithm.digestSize())
        return kHexLengthMismatch;
    std::array<std::uint8_t, HashAlgorithm::kMaxDigestSize> digest{};
    algorithm.finalize(digest.data());
    algorithm.reset();
    return std::memcmp(digest.data(), expected.data(), count);
}

}  // namespace soramine::hash
