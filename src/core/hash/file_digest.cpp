#include "core/hash/file_digest.h"

#include "core/hash/crc32.h"
#include "core/hash/md5.h"
#include "core/hash/sha1.h"

namespace soramine::hash {

std::unique_ptr<HashAlgorithm> makeDigest(DigestKind kind) {
    switch (kind) {
        case DigestKind::Crc32:
            return std::make_unique<Crc32>();
        case DigestKind::Md5:
            return std::make_unique<Md5>();
        case DigestKind::Sha1:
            return std::make_unique<Sha1>();
    }
    return nullptr;
}

platform::Status digestFile(HashAlgorithm& algorithm, std::u16string_view path,
                            const std::function<bool()>& chunkDone) {
    algorithm.reset();
    return platform::readFileChunks(path, kFileChunkSize, [&](std::string_view chunk) {
        algorithm.update(chunk);
        return !chunkDone || chunkDone();
    });
}

}  // namespace soramine::hash
