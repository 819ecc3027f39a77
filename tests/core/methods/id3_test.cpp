#include "core/methods/id3.h"

#include <gtest/gtest.h>

#include "core/methods/id3_bytes.h"
#include "support/temp_dir.h"

namespace soramine::id3 {
namespace {

using namespace soramine::testing;

TEST(Id3, ClassifiesTheFileStart) {
    struct Case {
        std::string head;
        FileStart expected;
    };
    const Case cases[] = {
        {"\xFF\xFB\x90\x64\0\0\0\0\0\0"s, FileStart::kAudio},
        {"RIFF\x24\0\0\0WA"s, FileStart::kAudio},
        {"ID3\x03\0\0\0\0\0\0"s, FileStart::kId3v2},
        {"\xFF\xFA\x90\x64\0\0\0\0\0\0"s, FileStart::kUnknown},  // MPEG with CRC
        {"\xFF\xF3\x90\x64\0\0\0\0\0\0"s, FileStart::kUnknown},
        {"ID3"s, FileStart::kUnknown},  // shorter than a header
        {""s, FileStart::kUnknown},
    };
    for (const Case& c : cases)
        EXPECT_EQ(classifyStart(c.head), c.expected) << c.head.size();
}

TEST(Id3, TagSizes) {
    EXPECT_EQ(tagBodySize("ID3\x03\0\0\0\0\x1F\x76"s), 4086u);
    EXPECT_EQ(tagBodySize("ID3\x03\0\0\x7F\x7F\x7F\x7F"s), 0x0FFFFFFFu);
    // Bytes with their eighth bit set count seven bits each: never more than 256 MiB.
    EXPECT_EQ(tagBodySize("ID3\x03\0\0\x80\0\0\0"s), 0u);
    EXPECT_EQ(tagTotalSize("ID3\x03\0\x10\0\0\x01\0"s), 138u);  // no footer before version 4
    EXPECT_EQ(tagTotalSize("ID3\x04\0\x10\0\0\x01\0"s), 148u);
}

TEST(Id3, ReadsV1Records) {
    struct Case {
        std::string record;
        std::u16string_view track, title, artist, album;
    };
    const Case cases[] = {
        {v1("Intro", "Band  ", "Album", "1999", withTrack("x", 7), 1), u"07", u"Intro", u"Band",
         u"Album"},
        {v1("\x83\x65\x83\x58\x83\x67", "", "", "", "", 0), u"00", u"テスト", u"", u""},
        {v1("T", "A", "L", "", "a comment that runs on and on", 0), u"", u"T", u"A", u"L"},
        {v1("T", "", "", "", withTrack(std::string(28, ' '), 255), 0), u"255", u"T", u"", u""},
        {std::string(128, 'x'), u"", u"", u"", u""},  // no tag
    };
    for (const Case& c : cases) {
        const TagValues v = readV1(c.record);
        EXPECT_EQ(utf8(v.track), utf8(c.track)) << utf8(c.title);
        EXPECT_EQ(utf8(v.title), utf8(c.title));
        EXPECT_EQ(utf8(v.artist), utf8(c.artist));
        EXPECT_EQ(utf8(v.album), utf8(c.album));
    }
}

TEST(Id3, UpdatesOrCreatesV1Records) {
    struct Case {
        std::string record;
        TagValues given;
        std::string expected;
    };
    const std::string old = v1("Old title", "Old artist", "Old album", "1999", "note", 17);
    const Case cases[] = {
        {old,
         {u"3", u"Song", u"", u"", u""},
         v1("Song", "Old artist", "Old album", "1999", withTrack("note", 3), 17)},
        {old,
         {u"", u"", u"", u"", u"80"},
         v1("Old title", "Old artist", "Old album", "1999", "note", 80)},
        {old,
         {u"258", u"", u"", u"", u""},
         [&] {
             std::string r = old;
             r[125] = 0;
             r[126] = 2;
             return r;
         }()},
        // No tag before: a new one.
        {"", {u"", u"Song", u"", u"", u""}, v1("Song", "", "", "", std::string(30, ' '), 12)},
        {"",
         {u"12", u"", u"", u"", u"13"},
         v1("", "", "", "", withTrack(std::string(28, ' '), 12), 13)},
        // Code page 932, cut to 30 bytes between characters.
        {"",
         {u"", u"あいうえおかきくけこさしすせそた", u"", u"", u""},
         v1("\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8\x82\xa9\x82\xab\x82\xad\x82\xaf\x82\xb1\x82"
            "\xb3\x82\xb5\x82\xb7\x82\xb9\x82\xbb",
            "", "", "", std::string(30, ' '), 12)},
    };
    for (const Case& c : cases) {
        const std::string got = updateV1(c.record, c.given);
        EXPECT_EQ(got, c.expected) << utf8(c.given.title);
    }
}

TEST(Id3, ReadsTheValuesOfV2Tags) {
    struct Case {
        std::string_view label;
        std::string tag;
        std::u16string_view track, title, artist, album;
    };
    const std::string utf16le =
        "\x01\xFF\xFE"
        "A\0\x8C\x30"s;  // "Aれ"
    const Case cases[] = {
        {"code page",
         tag(frame("TIT2", "\0\x83\x65\x83\x58\x83\x67"s) + frame("TRCK",
                                                                  "\0"
                                                                  "7"s),
             3, 20),
         u"7", u"テスト", u"", u""},
        {"UTF-16LE", tag(frame("TPE1", utf16le) + frame("TALB", "\x01\xFE\xFF\0A\x30\x8C"s)), u"",
         u"", u"Aれ", u"Aれ"},
        {"ends at NUL",
         tag(frame("TIT2", "\0Title\0junk"s) + frame("TPE1",
                                                     "\x01\xFF\xFE"
                                                     "A\0\0\0B\0"s)),
         u"", u"Title", u"A", u""},
        {"odd UTF-16 length",
         tag(frame("TIT2",
                   "\x01\xFF\xFE"
                   "A\0B"s)),
         u"", u"A", u"", u""},
        {"other frames skipped",
         tag(frame("APIC", std::string(5000, '\x01')) + frame("TIT2", "\0T"s)), u"", u"T", u"",
         u""},
        {"version 4 UTF-8",
         tag(frame("TIT2", "\x03\xE3\x83\x86"s, 4) + frame("TRCK",
                                                           "\x03"
                                                           "12/14"s,
                                                           4),
             4),
         u"12/14", u"テ", u"", u""},
        {"version 4 sizes are syncsafe",
         tag(frame("APIC", std::string(200, '\x01'), 4) + frame("TIT2", "\x03X"s, 4), 4), u"", u"X",
         u"", u""},
        {"extended header skipped",
         tag("\0\0\0\x06\0\0\0\0\0\0"s + frame("TIT2", "\0T"s), 3, 0, 0x40), u"", u"T", u"", u""},
        {"four taken: the walk stops",
         tag(frame("TIT2", "\0A"s) + frame("TIT2", "\0B"s) + frame("TIT2", "\0C"s) +
             frame("TIT2", "\0D"s) + frame("TIT2", "\0E"s) + "TPE1\x7F\xFF\xFF\xFF\0\0"s),
         u"", u"D", u"", u""},
    };
    for (const Case& c : cases) {
        const auto v = readV2Values(c.tag);
        ASSERT_TRUE(v.ok()) << c.label;
        EXPECT_EQ(utf8(v->track), utf8(c.track)) << c.label;
        EXPECT_EQ(utf8(v->title), utf8(c.title)) << c.label;
        EXPECT_EQ(utf8(v->artist), utf8(c.artist)) << c.label;
        EXPECT_EQ(utf8(v->album), utf8(c.album)) << c.label;
    }
}

TEST(Id3, AFrameRunningPastTheTagIsAnError) {
    const std::string cases[] = {
        tag(frame("TIT2", "\0T"s)).substr(0, 20),                  // cut short
        "ID3\x03\0\0\0\0\0\x14TIT2\x7F\xFF\xFF\xFF\0\0\0\0\0\0"s,  // a frame of 2 GiB
        "ID3\x03\0\x40\0\0\0\x04\0\0\0\x20"s,                      // extended header too large
    };
    for (const std::string& t : cases) {
        EXPECT_EQ(readV2Values(t).error(), TagError::kData) << t.size();
        EXPECT_EQ(readFrames(t).error(), TagError::kData) << t.size();
    }
}

TEST(Id3, Version4FramesAreConvertedToVersion23Form) {
    struct Case {
        std::string_view label;
        std::string frame4;  // as a version 4 tag holds it
        Frame expected;
    };
    const std::string png = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR"s;
    const Case cases[] = {
        {"UTF-8 text",
         frame("TIT2",
               "\x03\xE3\x83\x86"
               "a"s,
               4),
         {"TIT2", 0, 0,
          "\x01\xFF\xFE\xC6\x30"
          "a\0"s}},
        {"UTF-16BE texts",
         frame("TXXX", "\x02\0d\0\0\0v"s, 4),
         {"TXXX", 0, 0,
          "\x01\xFF\xFE"
          "d\0\0\0\xFF\xFE"
          "v\0"s}},
        {"Latin-1 stays", frame("TALB", "\0abc"s, 4), {"TALB", 0, 0, "\0abc"s}},
        {"picture bytes kept",
         frame("APIC", "\x03image/png\0\x03\xC3\xA9\0"s + png, 4),
         {"APIC", 0, 0, "\x01image/png\0\x03\xFF\xFE\xE9\0\0\0"s + png}},
        {"comment",
         frame("COMM", "\x03jpn\0text"s, 4),
         {"COMM", 0, 0, "\x01jpn\xFF\xFE\0\0\xFF\xFEt\0e\0x\0t\0"s}},
        {"unsynchronised with data length",
         frame("TPE1", "\0\0\0\x03\0\xFF\0\xE0"s, 4, "\0\x03"s),
         {"TPE1", 0, 0, "\0\xFF\xE0"s}},
        {"flags move",
         frame("PRIV", "owner\0x"s, 4, "\x60\x40"s),
         {"PRIV", 0xC0, 0x20, "owner\0x"s}},
    };
    for (const Case& c : cases) {
        const auto frames = readFrames(tag(c.frame4, 4, 10));
        ASSERT_TRUE(frames.ok()) << c.label;
        ASSERT_EQ(frames->size(), 1u) << c.label;
        EXPECT_EQ((*frames)[0].id, c.expected.id) << c.label;
        EXPECT_EQ((*frames)[0].statusFlags, c.expected.statusFlags) << c.label;
        EXPECT_EQ((*frames)[0].formatFlags, c.expected.formatFlags) << c.label;
        EXPECT_EQ((*frames)[0].data, c.expected.data) << c.label;
    }
}

TEST(Id3, TagsThatCannotBeConverted) {
    const std::string cases[] = {
        tag(frame("APIC", "\0x"s, 4, "\0\x08"s), 4),     // compressed
        tag(frame("APIC", "\0x"s, 4, "\0\x04"s), 4),     // encrypted
        tag(frame("SYLT", "\x03jpn\x02\x01\0"s, 4), 4),  // synchronised lyrics in UTF-8
        "ID3\x02\0\0\0\0\0\x0ATT2\0\0\x04\0abc"s,        // version 2.2
    };
    for (const std::string& t : cases)
        EXPECT_EQ(readFrames(t).error(), TagError::kUnconvertible) << t.substr(0, 14);
}

TEST(Id3, WritesNewTagsByteForByte) {
    const std::string record =
        updateV1(v1("", "", "", "2001", "hello", 12), {u"3", u"Song", u"", u"", u""});
    const auto written =
        writeTag(newTagFrames({u"3", u"Song", u"", u"", u""}, record), kNewTagBody);
    ASSERT_TRUE(written);
    const std::string frames = frame("TIT2", "\0Song"s) +
                               frame("TYER",
                                     "\0"
                                     "2001"s) +
                               frame("COMM", "\0jpn\0hello"s) +
                               frame("TRCK",
                                     "\0"
                                     "3"s) +
                               frame("TCON", "\0(12)"s);
    EXPECT_EQ(*written,
              "ID3\x03\0\0\0\0\x1F\x76"s + frames + std::string(4086 - frames.size(), '\0'));

    // Text beyond ASCII is written as UTF-16, so that other programs read it too.
    EXPECT_EQ(textFrame("TPE1", u"歌"), (Frame{"TPE1", 0, 0, "\x01\xFF\xFE\x4C\x6B"s}));
    EXPECT_EQ(commentFrame(u"é").data, "\x01jpn\xFF\xFE\0\0\xFF\xFE\xE9\0"s);
}

TEST(Id3, RebuiltTagsKeepEveryOldFrame) {
    const std::vector<Frame> old = {
        {"TIT2", 0, 0, "\0Old"s},
        {"APIC", 0, 0, "\0image/jpeg\0\x03\0"s + std::string(5000, '\xAB')},
        {"TCON", 0, 0, "\0(17)"s},
        {"PRIV", 0x80, 0x20, "g owner\0x"s},
    };
    const std::vector<Frame> frames =
        rebuiltTagFrames({u"7", u"A much longer title", u"", u"", u""}, old);
    const std::vector<Frame> expected = {textFrame("TIT2", u"A much longer title"),
                                         textFrame("TRCK", u"7"), old[1], old[2], old[3]};
    EXPECT_EQ(frames, expected);
    const auto written = writeTag(frames, 4086);
    ASSERT_TRUE(written);
    const auto back = readFrames(*written);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(*back, expected);
    EXPECT_GT(written->size(), 5000u);
}

TEST(Id3, HasTheGenreList) {
    const auto names = genreNames();
    ASSERT_EQ(names.size(), 148u);
    EXPECT_EQ(names[0], u"Blues");
    EXPECT_EQ(names[12], u"Other");
    EXPECT_EQ(names[17], u"Rock");
    EXPECT_EQ(names[80], u"Folk");
    EXPECT_EQ(names[146], u"JPop");
    EXPECT_EQ(names[147], u"Synthpop");
}

}  // namespace
}  // namespace soramine::id3
