#pragma once

#include "core/hash/hash_algorithm.h"

namespace soramine::hash {

class Sha1 : public HashAlgorithm {
  public:
    explicit Sha1(BlockCode code = BlockCode::Fastest);

    std::string_view name() const override { return "SHA1"; }
    std::size_t digestSize() const override { return 20; }
    std::size_t blockSize() const override { return 64; }
    void reset() override;
    bool selfTest() override;
    std::size_t transform(const std::uint8_t* data, std::uint32_t* state,
                          std::size_t length) const override;
    // The five state words, each most significant byte first.
    void finalize(std::uint8_t* out) const override;

  private:
    void (*blocks_)(std::uint32_t* state, const std::uint8_t* data, std::size_t blocks);
};

}  // namespace soramine::hash
