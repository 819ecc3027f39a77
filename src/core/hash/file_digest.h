#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

#include "core/hash/hash_algorithm.h"
#include "core/platform/fs.h"

namespace soramine::hash {

// Files are read in pieces of this size, each fed to the digest as it arrives.
inline constexpr std::size_t kFileChunkSize = 32 * 1024;

enum class DigestKind { Crc32, Md5, Sha1 };
std::unique_ptr<HashAlgorithm> makeDigest(DigestKind kind);

// Resets `algorithm` and feeds it the whole content of the file. On failure (the file cannot
// be opened or read) the digest is of no use. `chunkDone`, when given, is called after each
// chunk and returns false to stop reading, which leaves the digest of part of the file.
platform::Status digestFile(HashAlgorithm& algorithm, std::u16string_view path,
                            const std::function<bool()>& chunkDone = {});

}  // namespace soramine::hash
