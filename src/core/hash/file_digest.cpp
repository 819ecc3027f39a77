#include "core/hash/file_digest.h"

namespace soramine::hash {

platform::Status digestFile(HashAlgorithm& algorithm, std::u16string_view path) {
    algorithm.reset();
    return platform::readFileChunks(path, kFileChunkSize, [&](std::string_view chunk) {
        algorithm.update(chunk);
        return true;
    });
}

}  // namespace soramine::hash
