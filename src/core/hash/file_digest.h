#pragma once

#include <cstddef>
#include <string_view>

#include "core/hash/hash_algorithm.h"
#include "core/platform/fs.h"

namespace soramine::hash {

// Files are read in pieces of this size, each fed to the digest as it arrives.
inline constexpr std::size_t kFileChunkSize = 32 * 1024;

// Resets `algorithm` and feeds it the whole content of the file. On failure (the file cannot
// be opened or read) the digest is of no use.
platform::Status digestFile(HashAlgorithm& algorithm, std::u16string_view path);

}  // namespace soramine::hash
