#include "core/methods/id3.h"

#include <algorithm>
#include <array>
#include <functional>

#include "core/text/cp932.h"
#include "core/text/strings.h"
#include "core/text/utf.h"

namespace soramine::id3 {

namespace {

constexpr std::size_t kFrameHeaderSize = 10;
constexpr std::uint32_t kMaxSyncsafe = 0x0FFFFFFF;

std::uint8_t byteAt(std::string_view s, std::size_t at) {
    return static_cast<std::uint8_t>(s[at]);
}

std::uint32_t bigEndian32(std::string_view s, std::size_t at) {
    return std::uint32_t{byteAt(s, at)} << 24 | std::uint32_t{byteAt(s, at + 1)} << 16 |
           std::uint32_t{byteAt(s, at + 2)} << 8 | std::uint32_t{byteAt(s, at + 3)};
}

std::uint32_t syncsafe32(std::string_view s, std::size_t at) {
    return std::uint32_t{byteAt(s, at) & 0x7Fu} << 21 |
           std::uint32_t{byteAt(s, at + 1) & 0x7Fu} << 14 |
           std::uint32_t{byteAt(s, at + 2) & 0x7Fu} << 7 | std::uint32_t{byteAt(s, at + 3) & 0x7Fu};
}

void appendBigEndian32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}

void appendSyncsafe32(std::string& out, std::uint32_t v) {
    for (int shift = 21; shift >= 0; shift -= 7)
        out += static_cast<char>((v >> shift) & 0x7F);
}

// Undoes unsynchronisation: every FF 00 becomes FF.
std::string resynchronised(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        out += bytes[i];
        if (byteAt(bytes, i) == 0xFF && i + 1 < bytes.size() && bytes[i + 1] == '\0')
            ++i;
    }
    return out;
}

std::u16string utf16Text(std::string_view bytes, bool bigEndianOrder) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<char16_t>(byteAt(bytes, i));
        const auto b = static_cast<char16_t>(byteAt(bytes, i + 1));
        out +=
            bigEndianOrder ? static_cast<char16_t>(a << 8 | b) : static_cast<char16_t>(b << 8 | a);
    }
    return out;
}

std::string utf16LeBytes(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

std::u16string upToNul(std::u16string text) {
    if (const std::size_t nul = text.find(u'\0'); nul != std::u16string::npos)
        text.resize(nul);
    return text;
}

std::string_view upToZeroByte(std::string_view bytes) {
    return bytes.substr(0, std::min(bytes.find('\0'), bytes.size()));
}

// An ID3v1 field: code page 932 up to the first zero byte, trailing spaces removed.
std::u16string v1Field(std::string_view record, std::size_t at, std::size_t length) {
    std::u16string text = text::fromCp932(upToZeroByte(record.substr(at, length)));
    while (!text.empty() && text.back() == u' ')
        text.pop_back();
    return text;
}

// `text` in code page 932, whole characters only, at most `limit` bytes.
std::string cp932Cut(std::u16string_view text, std::size_t limit) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t units =
            (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size()) ? 2 : 1;
        const std::string one = text::toCp932(text.substr(i, units));
        if (out.size() + one.size() > limit)
            break;
        out += one;
        i += units;
    }
    return out;
}

bool isAscii(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; });
}

// ---- Version 4 text re-encoded for version 2.3 ----

// The pieces of a frame's data after the encoding byte, as laid out by its frame type.
enum class Field {
    kLatin,   // a Latin-1 text ended by one zero byte
    kFixed1,  // bytes copied as they are
    kFixed3,
    kFixed8,
    kText,        // one text in the frame's encoding, ended by its terminator
    kTextRest,    // texts in the frame's encoding up to the end, separated by terminators
    kBinaryRest,  // bytes up to the end, copied
};

struct Layout {
    std::string_view id;  // "T" stands for every text frame but those listed
    std::array<Field, 5> fields;
    std::size_t count;
};

constexpr std::array<Layout, 8> kLayouts = {{
    {"T", {Field::kTextRest}, 1},
    {"WXXX", {Field::kText, Field::kBinaryRest}, 2},
    {"COMM", {Field::kFixed3, Field::kTextRest}, 2},
    {"USLT", {Field::kFixed3, Field::kTextRest}, 2},
    {"USER", {Field::kFixed3, Field::kTextRest}, 2},
    {"APIC", {Field::kLatin, Field::kFixed1, Field::kText, Field::kBinaryRest}, 4},
    {"GEOB", {Field::kLatin, Field::kText, Field::kText, Field::kBinaryRest}, 4},
    {"OWNE", {Field::kLatin, Field::kFixed8, Field::kTextRest}, 3},
}};

// Frames with an encoding byte whose texts this program does not re-encode.
constexpr std::array<std::string_view, 2> kOtherEncodedFrames = {"SYLT", "COMR"};

const Layout* layoutOf(std::string_view id) {
    for (const Layout& l : kLayouts) {
        if (l.id == id)
            return &l;
    }
    return id.starts_with('T') ? &kLayouts[0] : nullptr;
}

// Where the text starting at `at` ends (at its terminator, or at the end) in encoding 2 or 3,
// and the terminator's length.
std::pair<std::size_t, std::size_t> textEnd(std::string_view data, std::size_t at, bool utf16) {
    if (!utf16) {
        const std::size_t nul = data.find('\0', at);
        return nul == std::string_view::npos ? std::pair{data.size(), std::size_t{0}}
                                             : std::pair{nul, std::size_t{1}};
    }
    for (std::size_t i = at; i + 1 < data.size(); i += 2) {
        if (data[i] == '\0' && data[i + 1] == '\0')
            return {i, 2};
    }
    return {data.size(), 0};
}

std::u16string decodeVersion4(std::string_view bytes, bool utf16) {
    return utf16 ? utf16Text(bytes, true) : text::fromUtf8(bytes);
}

void appendUtf16WithBom(std::string& out, std::u16string_view text) {
    out += "\xFF\xFE";
    out += utf16LeBytes(text);
}

// A version 4 frame's data with its UTF-8 (3) or UTF-16BE (2) texts as UTF-16 with a
// byte-order mark (1); other encodings stay as they are.
Expected<std::string, TagError> toVersion3Text(std::string_view id, std::string_view data) {
    if (data.empty() || (data[0] != 2 && data[0] != 3))
        return std::string(data);
    if (std::find(kOtherEncodedFrames.begin(), kOtherEncodedFrames.end(), id) !=
        kOtherEncodedFrames.end())
        return Unexpected{TagError::kUnconvertible};
    const Layout* layout = layoutOf(id);
    if (!layout)
        return std::string(data);  // no encoding byte of this program's knowing
    const bool utf16 = data[0] == 2;
    std::string out(1, '\x01');
    std::size_t at = 1;
    for (std::size_t f = 0; f < layout->count; ++f) {
        switch (layout->fields[f]) {
            case Field::kLatin: {
                const std::size_t nul = data.find('\0', at);
                const std::size_t end = nul == std::string_view::npos ? data.size() : nul + 1;
                out.append(data.substr(at, end - at));
                at = end;
                break;
            }
            case Field::kFixed1:
            case Field::kFixed3:
            case Field::kFixed8: {
                const std::size_t n = layout->fields[f] == Field::kFixed1   ? 1
                                      : layout->fields[f] == Field::kFixed3 ? 3
                                                                            : 8;
                out.append(data.substr(at, n));
                at = std::min(data.size(), at + n);
                break;
            }
            case Field::kText: {
                const auto [end, terminator] = textEnd(data, at, utf16);
                appendUtf16WithBom(out, decodeVersion4(data.substr(at, end - at), utf16));
                out.append(2, '\0');
                at = end + terminator;
                break;
            }
            case Field::kTextRest: {
                while (at < data.size()) {
                    const auto [end, terminator] = textEnd(data, at, utf16);
                    appendUtf16WithBom(out, decodeVersion4(data.substr(at, end - at), utf16));
                    if (terminator > 0)
                        out.append(2, '\0');
                    at = end + terminator;
                }
                break;
            }
            case Field::kBinaryRest:
                out.append(data.substr(at));
                at = data.size();
                break;
        }
    }
    return out;
}

// ---- The frame walk ----

struct TagHeader {
    std::uint8_t version = 0;
    std::uint8_t flags = 0;
};

// A frame as the walk finds it, before any conversion.
struct RawFrame {
    std::string_view id;
    std::uint8_t statusFlags, formatFlags;
    std::string_view data;
};

// Calls `visit` with each frame of the tag until the padding, the end, or `visit` returns
// false. `storage` keeps a resynchronised body alive. A version 4 tag's frame sizes are
// syncsafe; every other version is walked as version 2.3.
Expected<void, TagError> walkFrames(std::string_view tag, std::string& storage,
                                    const std::function<bool(const RawFrame&)>& visit) {
    if (tag.size() < kHeaderSize)
        return Unexpected{TagError::kData};
    const TagHeader header{byteAt(tag, 3), byteAt(tag, 5)};
    const bool version4 = header.version == 4;
    std::string_view body = tag.substr(kHeaderSize, tagBodySize(tag));
    if (!version4 && (header.flags & 0x80)) {
        storage = resynchronised(body);
        body = storage;
    }
    std::size_t pos = 0;
    if (header.flags & 0x40) {  // an extended header, skipped
        if (body.size() < 4)
            return Unexpected{TagError::kData};
        const std::uint64_t size =
            version4 ? syncsafe32(body, 0) : std::uint64_t{bigEndian32(body, 0)} + 4;
        if (size > body.size())
            return Unexpected{TagError::kData};
        pos = static_cast<std::size_t>(size);
    }
    while (body.size() - pos >= kFrameHeaderSize) {
        const std::string_view id = body.substr(pos, 4);
        const std::uint32_t size =
            version4 ? syncsafe32(body, pos + 4) : bigEndian32(body, pos + 4);
        if (id[0] == '\0' || size == 0)
            break;
        if (size > body.size() - pos - kFrameHeaderSize)
            return Unexpected{TagError::kData};
        const RawFrame frame{id, byteAt(body, pos + 8), byteAt(body, pos + 9),
                             body.substr(pos + kFrameHeaderSize, size)};
        pos += kFrameHeaderSize + size;
        if (!visit(frame))
            break;
    }
    return {};
}

// A version 4 frame in version 2.3 form, text re-encoding aside: no unsynchronisation, no data
// length indicator, the flags moved to their version 2.3 places.
Expected<Frame, TagError> version3Form(const RawFrame& raw, bool tagUnsynchronised) {
    constexpr std::uint8_t kGrouping = 0x40, kCompressed = 0x08, kEncrypted = 0x04,
                           kUnsynchronised = 0x02, kDataLength = 0x01;
    if (raw.formatFlags & (kCompressed | kEncrypted))
        return Unexpected{TagError::kUnconvertible};
    std::string data = (raw.formatFlags & kUnsynchronised) || tagUnsynchronised
                           ? resynchronised(raw.data)
                           : std::string(raw.data);
    const std::size_t group = (raw.formatFlags & kGrouping) ? 1 : 0;
    if (raw.formatFlags & kDataLength) {
        // Nothing left after the data length would make a frame of size 0, which ends a tag.
        if (data.size() <= group + 4)
            return Unexpected{TagError::kData};
        data.erase(group, 4);
    }
    Frame frame{std::string(raw.id),
                static_cast<std::uint8_t>((raw.statusFlags << 1) & 0xE0),
                static_cast<std::uint8_t>((raw.formatFlags & kGrouping) ? 0x20 : 0),
                {}};
    // The encoding byte follows a group byte.
    auto text = toVersion3Text(frame.id, std::string_view(data).substr(group));
    if (!text)
        return Unexpected{text.error()};
    frame.data = data.substr(0, group) + *text;
    return frame;
}

}  // namespace

FileStart classifyStart(std::string_view head) {
    if (head.size() < kHeaderSize)
        return FileStart::kUnknown;
    if (head.starts_with("ID3"))
        return FileStart::kId3v2;
    if ((byteAt(head, 0) == 0xFF && byteAt(head, 1) == 0xFB) || head.starts_with("RIFF"))
        return FileStart::kAudio;
    return FileStart::kUnknown;
}

std::uint32_t tagBodySize(std::string_view header) {
    return header.size() < kHeaderSize ? 0 : syncsafe32(header, 6);
}

std::uint64_t tagTotalSize(std::string_view header) {
    const bool footer =
        header.size() >= kHeaderSize && byteAt(header, 3) == 4 && (byteAt(header, 5) & 0x10);
    return kHeaderSize + std::uint64_t{tagBodySize(header)} + (footer ? kHeaderSize : 0);
}

bool isV1(std::string_view record) {
    return record.size() == kV1Size && record.starts_with("TAG");
}

TagValues readV1(std::string_view record) {
    TagValues v;
    if (!isV1(record))
        return v;
    v.title = v1Field(record, 3, 30);
    v.artist = v1Field(record, 33, 30);
    v.album = v1Field(record, 63, 30);
    if (record[125] == '\0') {
        const int track = byteAt(record, 126);
        v.track = track < 10 ? u"0" + text::decimal(track) : text::decimal(track);
    }
    return v;
}

std::string updateV1(std::string_view record, const TagValues& given) {
    std::string r;
    if (isV1(record)) {
        r = record;
    } else {
        r = "TAG" + std::string(kV1Size - 3, '\0');
        std::fill(r.begin() + 97, r.begin() + 127, ' ');
        r[127] = 12;  // "Other"
    }
    const auto put = [&](std::size_t at, std::u16string_view value) {
        if (value.empty())
            return;
        const std::string bytes = cp932Cut(value, 30);
        std::fill(r.begin() + static_cast<std::ptrdiff_t>(at),
                  r.begin() + static_cast<std::ptrdiff_t>(at + 30), '\0');
        r.replace(at, bytes.size(), bytes);
    };
    put(3, given.title);
    put(33, given.artist);
    put(63, given.album);
    if (!given.track.empty()) {
        r[125] = '\0';
        r[126] = static_cast<char>(text::leadingInt(given.track) & 0xFF);
    }
    if (!given.genre.empty())
        r[127] = static_cast<char>(text::leadingInt(given.genre) & 0xFF);
    return r;
}

Expected<std::vector<Frame>, TagError> readFrames(std::string_view tag) {
    if (tag.size() < kHeaderSize)
        return Unexpected{TagError::kData};
    const std::uint8_t version = byteAt(tag, 3);
    if (version != 3 && version != 4)
        return Unexpected{TagError::kUnconvertible};
    const bool tagUnsynchronised = version == 4 && (byteAt(tag, 5) & 0x80);
    std::vector<Frame> frames;
    std::optional<TagError> failed;
    std::string storage;
    auto walked = walkFrames(tag, storage, [&](const RawFrame& raw) {
        if (version == 3) {
            frames.push_back(
                {std::string(raw.id), raw.statusFlags, raw.formatFlags, std::string(raw.data)});
            return true;
        }
        auto frame = version3Form(raw, tagUnsynchronised);
        if (!frame) {
            failed = frame.error();
            return false;
        }
        frames.push_back(std::move(*frame));
        return true;
    });
    if (!walked)
        return Unexpected{walked.error()};
    if (failed)
        return Unexpected{*failed};
    return frames;
}

Expected<TagValues, TagError> readV2Values(std::string_view tag) {
    static constexpr std::array<std::string_view, 4> kWanted = {"TRCK", "TIT2", "TPE1", "TALB"};
    TagValues v;
    std::u16string* slots[] = {&v.track, &v.title, &v.artist, &v.album};
    const bool version4 = tag.size() >= kHeaderSize && byteAt(tag, 3) == 4;
    const bool tagUnsynchronised = version4 && (byteAt(tag, 5) & 0x80);
    int taken = 0;
    std::string storage;
    auto walked = walkFrames(tag, storage, [&](const RawFrame& raw) {
        const auto wanted = std::find(kWanted.begin(), kWanted.end(), raw.id);
        if (wanted == kWanted.end())
            return true;
        std::u16string& slot = *slots[wanted - kWanted.begin()];
        if (!version4) {
            slot = frameText(raw.data);
        } else if (auto frame = version3Form(raw, tagUnsynchronised)) {
            slot = frameText(frame->data);
        }
        return ++taken < 4;
    });
    if (!walked)
        return Unexpected{walked.error()};
    return v;
}

std::u16string frameText(std::string_view data) {
    if (data.empty())
        return {};
    const std::string_view rest = data.substr(1);
    switch (data[0]) {
        case 1:
            if (rest.starts_with("\xFF\xFE"))
                return upToNul(utf16Text(rest.substr(2), false));
            if (rest.starts_with("\xFE\xFF"))
                return upToNul(utf16Text(rest.substr(2), true));
            return upToNul(utf16Text(rest, false));
        case 2:
            return upToNul(utf16Text(rest, true));
        case 3:
            return text::fromUtf8(upToZeroByte(rest));
        default:
            return text::fromCp932(upToZeroByte(rest));
    }
}

Frame textFrame(std::string_view id, std::u16string_view text) {
    Frame frame{std::string(id), 0, 0, {}};
    if (isAscii(text)) {
        frame.data = '\0' + text::toUtf8(text);
    } else {
        frame.data = '\x01';
        appendUtf16WithBom(frame.data, text);
    }
    return frame;
}

Frame commentFrame(std::u16string_view text) {
    Frame frame{"COMM", 0, 0, {}};
    if (isAscii(text)) {
        frame.data = std::string("\0jpn\0", 5) + text::toUtf8(text);
    } else {
        frame.data = "\x01jpn";
        appendUtf16WithBom(frame.data, u"");
        frame.data.append(2, '\0');
        appendUtf16WithBom(frame.data, text);
    }
    return frame;
}

std::vector<Frame> newTagFrames(const TagValues& given, std::string_view v1Given) {
    const std::string v1Record = isV1(v1Given) ? std::string(v1Given) : updateV1({}, {});
    const auto orV1 = [&](std::u16string_view value, std::size_t at) {
        return value.empty() ? v1Field(v1Record, at, 30) : std::u16string(value);
    };
    std::vector<Frame> frames;
    const auto add = [&](std::string_view id, const std::u16string& value) {
        if (!value.empty())
            frames.push_back(textFrame(id, value));
    };
    add("TIT2", orV1(given.title, 3));
    add("TALB", orV1(given.album, 63));
    add("TPE1", orV1(given.artist, 33));
    add("TYER", v1Field(v1Record, 93, 4));
    // Bytes 125 and 126 hold the track (00 nn), whose zero ends the comment.
    if (const std::u16string comment = v1Field(v1Record, 97, 30); !comment.empty())
        frames.push_back(commentFrame(comment));
    if (v1Record[125] == '\0' && v1Record[126] != '\0')
        add("TRCK", text::decimal(byteAt(v1Record, 126)));
    add("TCON", u"(" + text::decimal(byteAt(v1Record, 127)) + u")");
    return frames;
}

std::vector<Frame> rebuiltTagFrames(const TagValues& given, std::span<const Frame> old) {
    std::vector<Frame> frames;
    const auto add = [&](std::string_view id, const std::u16string& value) {
        if (!value.empty())
            frames.push_back(textFrame(id, value));
    };
    add("TIT2", given.title);
    add("TALB", given.album);
    add("TPE1", given.artist);
    add("TRCK", given.track);
    add("TCON", given.genre.empty() ? u"" : u"(" + given.genre + u")");
    const std::size_t written = frames.size();
    for (const Frame& f : old) {
        const auto replaced = [&](const Frame& n) { return n.id == f.id; };
        if (std::none_of(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(written),
                         replaced))
            frames.push_back(f);
    }
    return frames;
}

std::optional<std::string> writeTag(std::span<const Frame> frames, std::uint32_t minBody) {
    std::string body;
    for (const Frame& f : frames) {
        if (f.data.size() > kMaxSyncsafe)
            return std::nullopt;
        body += f.id;
        appendBigEndian32(body, static_cast<std::uint32_t>(f.data.size()));
        body += static_cast<char>(f.statusFlags);
        body += static_cast<char>(f.formatFlags);
        body += f.data;
    }
    const std::size_t size = std::max<std::size_t>(body.size(), minBody);
    if (size > kMaxSyncsafe)
        return std::nullopt;
    std::string tag("ID3\x03\x00\x00", 6);
    appendSyncsafe32(tag, static_cast<std::uint32_t>(size));
    tag += body;
    tag.resize(kHeaderSize + size, '\0');
    return tag;
}

std::span<const std::u16string_view> genreNames() {
    static constexpr std::array<std::u16string_view, 148> kGenres = {
        u"Blues",
        u"Classic Rock",
        u"Country",
        u"Dance",
        u"Disco",
        u"Funk",
        u"Grunge",
        u"Hip-Hop",
        u"Jazz",
        u"Metal",
        u"New Age",
        u"Oldies",
        u"Other",
        u"Pop",
        u"R&B",
        u"Rap",
        u"Reggae",
        u"Rock",
        u"Techno",
        u"Industrial",
        u"Alternative",
        u"Ska",
        u"Death Metal",
        u"Pranks",
        u"Soundtrack",
        u"Euro-Techno",
        u"Ambient",
        u"Trip-Hop",
        u"Vocal",
        u"Jazz+Funk",
        u"Fusion",
        u"Trance",
        u"Classical",
        u"Instrumental",
        u"Acid",
        u"House",
        u"Game",
        u"Sound Clip",
        u"Gospel",
        u"Noise",
        u"Alternative Rock",
        u"Bass",
        u"Soul",
        u"Punk",
        u"Space",
        u"Meditative",
        u"Instrumental Pop",
        u"Instrumental Rock",
        u"Ethnic",
        u"Gothic",
        u"Darkwave",
        u"Techno-Industrial",
        u"Electronic",
        u"Pop-Folk",
        u"Eurodance",
        u"Dream",
        u"Southern Rock",
        u"Comedy",
        u"Cult",
        u"Gangsta",
        u"Top 40",
        u"Christian Rap",
        u"Pop/Funk",
        u"Jungle",
        u"Native American",
        u"Cabaret",
        u"New Wave",
        u"Psychedelic",
        u"Rave",
        u"Showtunes",
        u"Trailer",
        u"Lo-Fi",
        u"Tribal",
        u"Acid Punk",
        u"Acid Jazz",
        u"Polka",
        u"Retro",
        u"Musical",
        u"Rock & Roll",
        u"Hard Rock",
        u"Folk",
        u"Folk-Rock",
        u"National Folk",
        u"Swing",
        u"Fast Fusion",
        u"Bebop",
        u"Latin",
        u"Revival",
        u"Celtic",
        u"Bluegrass",
        u"Avantgarde",
        u"Gothic Rock",
        u"Progressive Rock",
        u"Psychedelic Rock",
        u"Symphonic Rock",
        u"Slow Rock",
        u"Big Band",
        u"Chorus",
        u"Easy Listening",
        u"Acoustic",
        u"Humour",
        u"Speech",
        u"Chanson",
        u"Opera",
        u"Chamber Music",
        u"Sonata",
        u"Symphony",
        u"Booty Bass",
        u"Primus",
        u"Porn Groove",
        u"Satire",
        u"Slow Jam",
        u"Club",
        u"Tango",
        u"Samba",
        u"Folklore",
        u"Ballad",
        u"Power Ballad",
        u"Rhythmic Soul",
        u"Freestyle",
        u"Duet",
        u"Punk Rock",
        u"Drum Solo",
        u"A Cappella",
        u"Euro-House",
        u"Dance Hall",
        u"Goa",
        u"Drum & Bass",
        u"Club-House",
        u"Hardcore",
        u"Terror",
        u"Indie",
        u"BritPop",
        u"Afro-Punk",
        u"Polsk Punk",
        u"Beat",
        u"Christian Gangsta Rap",
        u"Heavy Metal",
        u"Black Metal",
        u"Crossover",
        u"Contemporary Christian",
        u"Christian Rock",
        u"Merengue",
        u"Salsa",
        u"Thrash Metal",
        u"Anime",
        u"JPop",
        u"Synthpop",
    };
    return kGenres;
}

}  // namespace soramine::id3
