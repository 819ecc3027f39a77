#include "core/items/exif_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/platform/clock.h"
#include "core/text/utf.h"
#include "support/exif_files.h"
#include "support/temp_dir.h"

namespace soramine {
namespace {

using testing::IfdEntry;
using testing::jpegSegment;
using testing::jpegWithExif;
using testing::kDateHere;
using testing::kExifHere;
using testing::tiffBlock;
using testing::TiffBuild;

constexpr std::uint16_t kExif = 0x8769, kDate = 0x9003, kMake = 0x010F;

std::int64_t local(int y, int mo, int d, int h, int mi, int s) {
    return platform::fromLocalTime({y, mo, d, h, mi, s})->seconds;
}

// A date in the Exif IFD, reached from IFD0.
TiffBuild inExif(bool bigEndian, std::string date = "2024:03:05 07:08:09") {
    return {bigEndian, {{kMake, 0}, {kExif, kExifHere}}, {{0x829A, 0}, {kDate, kDateHere}}, date};
}
TiffBuild inIfd0(bool bigEndian, std::string date = "2024:03:05 07:08:09") {
    return {bigEndian, {{kMake, 0}, {kDate, kDateHere}}, {}, date};
}

// `bytes` with the little-endian 32-bit value at `at` replaced.
std::string patched(std::string bytes, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(v >> (8 * i));
    return bytes;
}

struct Case {
    const char* label;
    std::string file;
    std::optional<std::int64_t> date;
};

std::vector<Case> cases() {
    const std::int64_t when = local(2024, 3, 5, 7, 8, 9);
    const std::string le = tiffBlock(inExif(false));
    std::string tiffFarDate = tiffBlock({false, {{kDate, 5000}}, {}, ""});
    tiffFarDate.resize(5000, '\0');
    tiffFarDate += std::string("2024:03:05 07:08:09\0", 20);
    const std::string xmp = jpegSegment(0xE1, "http://ns.adobe.com/xap/1.0/\0<x/>");
    const std::string app0 = jpegSegment(0xE0, std::string("JFIF\0\1\1", 7));
    std::string shortApp1 = "\xFF\xD8\xFF\xE1";
    shortApp1 += std::string(
        "\x00\x07"
        "Exif\0\0",
        8);
    const std::string full = jpegWithExif(le);
    return {
        {"little-endian, Exif IFD", jpegWithExif(le), when},
        {"big-endian, Exif IFD", jpegWithExif(tiffBlock(inExif(true))), when},
        {"little-endian, IFD0", jpegWithExif(tiffBlock(inIfd0(false))), when},
        {"big-endian, IFD0", jpegWithExif(tiffBlock(inIfd0(true))), when},
        {"TIFF file, little-endian", tiffBlock(inExif(false)), when},
        {"TIFF file, big-endian", tiffBlock(inIfd0(true)), when},
        {"after JFIF and XMP segments", jpegWithExif(le, app0 + xmp), when},
        {"leap day", jpegWithExif(tiffBlock(inExif(false, "2024:02:29 23:59:59"))),
         local(2024, 2, 29, 23, 59, 59)},
        {"all zero", jpegWithExif(tiffBlock(inExif(false, "0000:00:00 00:00:00"))), {}},
        {"blank", jpegWithExif(tiffBlock(inExif(false, "                   "))), {}},
        {"month 13", jpegWithExif(tiffBlock(inExif(false, "2024:13:05 07:08:09"))), {}},
        {"30 February", jpegWithExif(tiffBlock(inExif(false, "2023:02:29 07:08:09"))), {}},
        {"hour 24", jpegWithExif(tiffBlock(inExif(true, "2024:03:05 24:00:00"))), {}},
        {"minute 60", jpegWithExif(tiffBlock(inExif(true, "2024:03:05 07:60:00"))), {}},
        {"date offset 0", jpegWithExif(tiffBlock({false, {{kDate, 0}}, {}, ""})), {}},
        {"date past the block", jpegWithExif(tiffBlock({false, {{kDate, 40}}, {}, ""})), {}},
        {"IFD0 past the block", jpegWithExif(patched(le, 4, 0xFFFFFFF0)), {}},
        {"IFD0 count past the block", jpegWithExif(patched(le, 8, 0x0F00 | 0x0002)), {}},
        {"Exif IFD past the block", jpegWithExif(patched(le, 8 + 2 + 12 + 8, 0x7FFFFFFF)), {}},
        {"Exif IFD offset 0", jpegWithExif(patched(le, 8 + 2 + 12 + 8, 0)), {}},
        {"walk of IFD0 stops at the Exif pointer",
         jpegWithExif(tiffBlock({false, {{kExif, kExifHere}, {kDate, kDateHere}}, {{kMake, 0}}})),
         {}},
        {"no date tag", jpegWithExif(tiffBlock({false, {{kMake, 0}}, {}})), {}},
        {"TIFF date beyond its 4096 bytes", tiffFarDate, {}},
        {"JPEG block may be longer", jpegWithExif(tiffFarDate), when},
        {"quantisation table first", "\xFF\xD8" + jpegSegment(0xDB, "x") + full.substr(2), {}},
        {"APP1 too short", shortApp1 + le, {}},
        {"cut after the date", full.substr(0, full.find("09") + 3), when},
        {"cut in the date", full.substr(0, full.find("09")), {}},
        {"PNG", std::string("\x89PNG\r\n\x1A\n", 8) + le, {}},
        {"only FF D8", "\xFF\xD8", {}},
        {"marker at the very end", "\xFF\xD8\x00\xFF", {}},
        {"empty", "", {}},
    };
}

TEST(ExifReader, ShootingDates) {
    for (const Case& c : cases())
        EXPECT_EQ(ExifReader::read(c.file), c.date) << c.label;
}

// A file gives what its whole content gives, though only its head is read: also when the
// Exif segment starts or ends past the first read, and when a walk crosses many reads.
TEST(ExifReader, FileGivesWhatItsContentGives) {
    testing::TempDir dir;
    const std::string le = tiffBlock(inExif(false));
    std::vector<Case> all = cases();
    const std::string bigApp0 = jpegSegment(0xE0, std::string(65000, 'j'));
    all.push_back(
        {"Exif after 65000 bytes", jpegWithExif(le, bigApp0, 300000), local(2024, 3, 5, 7, 8, 9)});
    all.push_back({"Exif after two segments of 65000 bytes", jpegWithExif(le, bigApp0 + bigApp0, 0),
                   local(2024, 3, 5, 7, 8, 9)});
    all.push_back({"200 KiB without a marker", "\xFF\xD8" + std::string(200 * 1024, '\0'), {}});
    int n = 0;
    for (const Case& c : all) {
        const std::string name = "f" + std::to_string(n++);
        dir.write(name, c.file);
        const auto got = ExifReader::readFile(dir.folder() + text::fromUtf8(name));
        ASSERT_TRUE(got) << c.label;
        EXPECT_EQ(*got, ExifReader::read(c.file)) << c.label;
        EXPECT_EQ(*got, c.date) << c.label;
    }
}

TEST(ExifReader, MissingFileAndFolderCannotBeOpened) {
    testing::TempDir dir;
    EXPECT_FALSE(ExifReader::readFile(dir.folder() + u"missing.jpg"));
    dir.makeFolder("sub.jpg");
    EXPECT_FALSE(ExifReader::readFile(dir.folder() + u"sub.jpg"));
}

// Files written by exiftool, in both byte orders; skipped where it is not installed.
TEST(ExifReader, ReadsWhatExiftoolWrites) {
    if (std::system("exiftool -ver > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "exiftool is not installed";
    testing::TempDir dir;
    // A 1 x 1 grey baseline JPEG: JFIF, quantisation table, frame, scan, end.
    const std::string plain =
        "\xFF\xD8" + jpegSegment(0xE0, std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14)) +
        jpegSegment(0xDB, std::string(65, '\x01')) +
        jpegSegment(0xC0, std::string("\x08\x00\x01\x00\x01\x01\x01\x11\x00", 9)) +
        jpegSegment(0xDA, std::string("\x01\x01\x00\x00\x3F\x00", 6)) + std::string(2, '\0') +
        "\xFF\xD9";
    for (const char* order : {"II", "MM"}) {
        const std::string name = std::string("shot_") + order + ".jpg";
        const auto path = dir.write(name, plain);
        const std::string command =
            "exiftool -q -overwrite_original -ExifByteOrder=" +
            std::string(order == std::string("II") ? "Little-endian" : "Big-endian") +
            " '-DateTimeOriginal=2019:12:31 23:58:57' '" + path.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::string written = dir.read(name);
        ASSERT_NE(written.find(std::string("Exif\0\0", 6) + order), std::string::npos) << order;
        const auto got = ExifReader::readFile(dir.folder() + text::fromUtf8(name));
        ASSERT_TRUE(got);
        EXPECT_EQ(*got, local(2019, 12, 31, 23, 58, 57)) << order;
    }
}

}  // namespace
}  // namespace soramine
