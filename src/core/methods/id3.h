#pragma once

// ID3 tags of MP3 files as bytes: the 128-byte ID3v1 (v1.1) record at a file's end and the
// ID3v2 tag at its start. Nothing here touches a file; every length and offset read from the
// bytes is checked against them.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/expected.h"

namespace soramine::id3 {

inline constexpr std::size_t kHeaderSize = 10;  // an ID3v2 header; also what classifies a file
inline constexpr std::size_t kV1Size = 128;
// The body of a new ID3v2 tag (4096 bytes with its header); a rebuilt tag is never smaller.
inline constexpr std::uint32_t kNewTagBody = 4086;

// What a file's first bytes say it is.
enum class FileStart {
    kAudio,    // FF FB (an MPEG-1 Layer III frame without CRC) or "RIFF": no ID3v2 tag
    kId3v2,    // "ID3"
    kUnknown,  // anything else, also fewer than kHeaderSize bytes
};
FileStart classifyStart(std::string_view head);

// The size of an ID3v2 tag's body, after its header: the syncsafe integer of header bytes 6-9.
std::uint32_t tagBodySize(std::string_view header);
// The bytes the whole tag takes at the file's start: header, body and, in version 4, a footer.
std::uint64_t tagTotalSize(std::string_view header);

// The values a file name and a tag exchange. Genre is only written: the ID3v1 genre number as
// decimal text.
struct TagValues {
    std::u16string track, title, artist, album, genre;
};

// ID3v1: whether the record is a tag ("TAG" first).
bool isV1(std::string_view record);
// Title, artist and album (code page 932, cut at the first zero byte, trailing spaces removed)
// and the ID3v1.1 track as "%02d" (empty without one) of a tag record.
TagValues readV1(std::string_view record);
// `record` with the non-empty values written in: title, artist and album in code page 932 cut
// to 30 bytes, the track number and the genre number. A record that is no tag becomes a new
// tag: fields not given zero, no year, a comment of spaces, genre 12 ("Other") unless given.
std::string updateV1(std::string_view record, const TagValues& given);

// One ID3v2 frame in version 2.3 form.
struct Frame {
    std::string id;  // four characters
    std::uint8_t statusFlags = 0;
    std::uint8_t formatFlags = 0;
    std::string data;
    friend bool operator==(const Frame&, const Frame&) = default;
};

enum class TagError {
    kData,           // a frame runs past the tag
    kUnconvertible,  // a frame this program cannot turn into version 2.3 form
};

// The frames of a tag (its header and body as read; the body may be shorter than the header
// says), up to the padding, in version 2.3 form: a version 4 tag's frames lose their syncsafe
// sizes, unsynchronisation and data length indicators, and their UTF-8 and UTF-16BE texts
// become UTF-16 with a byte-order mark. Compressed or encrypted version 4 frames, and tags of
// versions other than 3 and 4, cannot be converted.
Expected<std::vector<Frame>, TagError> readFrames(std::string_view tag);

// The track, title, artist and album of a tag, read as the tags-to-name direction reads them:
// the frames "TRCK", "TIT2", "TPE1" and "TALB" until four of them were taken. A tag of another
// version than 4 is read as version 2.3.
Expected<TagValues, TagError> readV2Values(std::string_view tag);

// The text of a text frame by its encoding byte (0 code page 932, 1 UTF-16 by its byte-order
// mark, 2 UTF-16BE, 3 UTF-8), ending at its first NUL.
std::u16string frameText(std::string_view data);

// A text frame of `id`: plain text (encoding 0) when `text` is ASCII, else UTF-16 with a
// byte-order mark, without terminator.
Frame textFrame(std::string_view id, std::u16string_view text);
// A "COMM" frame: language "jpn", an empty description, then `text`.
Frame commentFrame(std::u16string_view text);

// The frames of a new tag for a file that had none: title, album and artist as given, else
// from the ID3v1 record (already updated), then the record's year, comment, track and genre;
// each only when not empty, the genre always.
std::vector<Frame> newTagFrames(const TagValues& given, std::string_view v1Record);
// The frames of a rebuilt tag: the given title, album, artist, track and genre that are not
// empty, then every old frame, in its order, whose ID was not just written.
std::vector<Frame> rebuiltTagFrames(const TagValues& given, std::span<const Frame> old);

// An ID3v2.3 tag of `frames` padded with zeros to at least `minBody` bytes after its header;
// larger when the frames need more. Nothing when they need more than a tag can hold (256 MiB).
std::optional<std::string> writeTag(std::span<const Frame> frames, std::uint32_t minBody);

// The 148 genre names of the extended ID3v1 list, indexed by genre number.
std::span<const std::u16string_view> genreNames();

}  // namespace soramine::id3
