// Any bytes as an image file: reading its shooting date never fails, and reading the file
// (its head, then only where the walk leads) gives what its whole content gives.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/items/exif_reader.h"
#include "core/text/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using soramine::ExifReader;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto whole = ExifReader::read(bytes);

    static const std::string path = "/tmp/soramine-exif-fuzz-" + std::to_string(::getpid());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    const auto fromFile = ExifReader::readFile(soramine::text::fromUtf8(path));
    if (!fromFile || *fromFile != whole)
        __builtin_trap();
    return 0;
}
