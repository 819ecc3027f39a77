#pragma once

#include "core/hash/hash_algorithm.h"

namespace soramine::hash {

class Crc32 : public HashAlgorithm {
  public:
    explicit Crc32(BlockCode code = BlockCode::Fastest);

    std::string_view name() const override { return "CRC32"; }
    std::size_t digestSize() const override { return 4; }
    std::size_t blockSize() const override { return 64; }
    void reset() override;
    bool selfTest() override;
    std::size_t transform(const std::uint8_t* data, std::uint32_t* state,
                          std::size_t length) const override;
    // The complemented register, most significant byte first, so that the hexadecimal
    // form reads as the usual CRC-32 number.
    void finalize(std::uint8_t* out) const override;

  private:
    std::uint32_t (*blocks_)(std::uint32_t crc, const std::uint8_t* data, std::size_t blocks);
};

}  // namespace soramine::hash
