// soramine-digest-bench FILE [RUNS]: streams FILE through each digest in 32 KiB reads, as the
// renamer does, and prints one line per digest: name, best MB/s of RUNS (3) and the digest.
// The rate is over the process's CPU time (reading included), which other work on a busy
// machine disturbs far less than the time on the clock.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "core/hash/crc32.h"
#include "core/hash/file_digest.h"
#include "core/hash/md5.h"
#include "core/hash/sha1.h"
#include "core/platform/fs.h"
#include "core/text/utf.h"

using namespace soramine;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("使い方: soramine-digest-bench ファイル [回数]\n", stderr);
        return 2;
    }
    const std::u16string path = text::fromUtf8(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    const auto info = platform::lookUp(path);
    if (!info || info->isFolder) {
        std::fprintf(stderr, "ファイルが開けません: %s\n", argv[1]);
        return 2;
    }
    struct Entry {
        const char* label;
        std::unique_ptr<hash::HashAlgorithm> algorithm;
    };
    Entry entries[] = {
        {"CRC32", std::make_unique<hash::Crc32>()},
        {"CRC32-portable", std::make_unique<hash::Crc32>(hash::BlockCode::PortableOnly)},
        {"MD5", std::make_unique<hash::Md5>()},
        {"SHA1", std::make_unique<hash::Sha1>()},
        {"SHA1-portable", std::make_unique<hash::Sha1>(hash::BlockCode::PortableOnly)},
    };
    for (Entry& e : entries) {
        double best = 0;
        std::string hex;
        for (int run = 0; run < runs; ++run) {
            const std::clock_t start = std::clock();
            if (!hash::digestFile(*e.algorithm, path).ok()) {
                std::fprintf(stderr, "読み込みに失敗しました: %s\n", argv[1]);
                return 1;
            }
            hex = hash::hexDigest(*e.algorithm, true);
            const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
            best = std::max(best, static_cast<double>(info->size) / 1e6 / std::max(seconds, 1e-6));
        }
        std::printf("%s %.0f %s\n", e.label, best, hex.c_str());
        std::fflush(stdout);
    }
    return 0;
}
