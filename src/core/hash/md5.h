#pragma once

#include "core/hash/hash_algorithm.h"

namespace soramine::hash {

class Md5 : public HashAlgorithm {
  public:
    Md5() { reset(); }

    std::string_view name() const override { return "MD5"; }
    std::size_t digestSize() const override { return 16; }
    std::size_t blockSize() const override { return 64; }
    void reset() override;
    bool selfTest() override;
    std::size_t transform(const std::uint8_t* data, std::uint32_t* state,
                          std::size_t length) const override;
    // The four state words, each least significant byte first.
    void finalize(std::uint8_t* out) const override;
};

}  // namespace soramine::hash
