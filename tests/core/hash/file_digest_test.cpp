#include "core/hash/file_digest.h"

#include <gtest/gtest.h>

#include <string>

#include "core/hash/md5.h"
#include "core/hash/sha1.h"
#include "core/text/utf.h"
#include "support/temp_dir.h"

namespace soramine::hash {
namespace {

TEST(DigestFile, FeedsTheWholeFileAcrossReads) {
    soramine::testing::TempDir dir;
    for (std::size_t size :
         {std::size_t{0}, std::size_t{100}, kFileChunkSize, 3 * kFileChunkSize + 17}) {
        std::string content(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            content[i] = static_cast<char>(i * 31 + i / 7);
        const auto path = dir.write("data.bin", content);
        Sha1 fromFile, fromMemory;
        fromFile.update("left over from before");
        ASSERT_TRUE(digestFile(fromFile, text::fromUtf8(path.string())).ok());
        fromMemory.update(content);
        EXPECT_EQ(hexDigest(fromFile, false), hexDigest(fromMemory, false)) << size;
    }
}

TEST(DigestFile, FailsForMissingFileAndFolder) {
    soramine::testing::TempDir dir;
    dir.makeFolder("sub");
    Md5 md5;
    EXPECT_FALSE(digestFile(md5, dir.folder() + u"missing.txt").ok());
    EXPECT_FALSE(digestFile(md5, dir.folder() + u"sub").ok());
}

}  // namespace
}  // namespace soramine::hash
