#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "core/app/ini_file.h"
#include "core/engine/engine_fixture.h"
#include "core/engine/execute.h"
#include "core/engine/preview.h"
#include "core/methods/id3.h"
#include "core/methods/id3_bytes.h"
#include "core/methods/method_list.h"
#include "core/methods/mp3_tags.h"
#include "core/text/utf.h"

namespace soramine {
namespace {

using testing::audio;
using testing::frame;
using testing::tag;
using testing::TempDir;
using testing::utf8;
using testing::v1;
using testing::withTrack;
using namespace std::string_literals;

TEST(ParseTagFormat, SplitsTagsAndSeparators) {
    struct Case {
        std::u16string_view format;
        std::array<std::u16string_view, 5> separators;
        std::array<int, 5> order;
    };
    const Case cases[] = {
        {u"$A - $T", {u"", u" - ", u"", u"", u""}, {1, 2, -1, -1, -1}},
        {u"[$N]$T", {u"[", u"]", u"", u"", u""}, {-1, 3, 2, -1, -1}},
        {u"$L_$A_$T_$N", {u"", u"_", u"_", u"_", u""}, {0, 1, 2, 3, -1}},
        {u"$X$A", {u"$X", u"", u"", u"", u""}, {-1, 1, -1, -1, -1}},
        {u"$a-$A", {u"$a-", u"", u"", u"", u""}, {-1, 1, -1, -1, -1}},
        // The fifth tag after leading text finds no slot: parsing stops.
        {u"x$L-$A-$T-$N-$L", {u"x", u"-", u"-", u"-", u""}, {-1, 0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        auto parsed = parseTagFormat(c.format);
        ASSERT_TRUE(parsed.ok()) << utf8(c.format);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(parsed->tagSeparators[i], c.separators[i]) << utf8(c.format) << " " << i;
            EXPECT_EQ(parsed->tagOrder[i], c.order[i]) << utf8(c.format) << " " << i;
        }
    }
}

TEST(ParseTagFormat, RefusesWithItsMessages) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"$N$T", u"設定の形式が不正です(区切り無し)"},
        {u"$A-$A", u"設定の形式が不正です(同じ項目)\r\n"},
        {u"artist - title", u"設定の形式が不正です(項目無し)"},
        {u"", u"設定の形式が不正です(項目無し)"},
    };
    for (auto [format, text] : cases) {
        auto parsed = parseTagFormat(format);
        ASSERT_FALSE(parsed.ok()) << utf8(format);
        EXPECT_EQ(parsed.error(), errorMessage(std::u16string(text)));
    }
}

// The MP3 page of a real method table, over files in a temporary folder.
class Mp3Page : public ::testing::Test {
  protected:
    Mp3Page()
        : session(IniFile(ini.folder() + u"t.ini"), makeMethodTable()),
          page(dynamic_cast<Mp3TagPage&>(*session.methods.page(4))) {
        session.settings.methodIndex = 4;
    }

    void useRows(const std::vector<std::u16string>& names) {
        testing::clearRows(session);
        for (const auto& name : names)
            testing::appendRow(session, testing::itemRow(name, dir.folder()));
    }
    PreviewResult preview(const std::vector<std::u16string>& names) {
        useRows(names);
        testing::FakeHost host;
        QuietObserver observer;
        return previewRun(session, host, observer);
    }
    ExecuteResult execute(const std::vector<std::u16string>& names) {
        useRows(names);
        testing::FakeHost host;
        QuietObserver observer;
        return executeRun(session, host, observer);
    }
    // The log with "@" for the files' folder.
    std::string log() const {
        std::string text = utf8(session.log().text());
        const std::string folder = utf8(dir.folder());
        for (std::size_t at; (at = text.find(folder)) != std::string::npos;)
            text.replace(at, folder.size(), "@");
        return text;
    }

    TempDir ini;
    TempDir dir;
    RenameSession session;
    Mp3TagPage& page;
};

TEST_F(Mp3Page, NamesFromTags) {
    struct Case {
        std::string_view label;
        std::string content;
        std::u16string_view name;
        std::u16string_view format;
        bool fullWidth;
        std::u16string_view expected;  // the name shown by the preview, or its message
    };
    const std::string intro = audio() + v1("Intro", "Band", "Album", "", withTrack("", 7), 0);
    const std::string slash = audio() + v1("A/B", "", "", "", withTrack("", 1), 0);
    const std::string utf16Tag = tag(frame("TRCK",
                                           "\x01\xFF\xFE"
                                           "1\0"
                                           "2\0"s) +
                                         frame("TIT2", "\x01\xFF\xFE\xC6\x30\xB9\x30\xC8\x30"s) +
                                         frame("TALB",
                                               "\x01\xFF\xFE"
                                               "L\0"s) +
                                         frame("TPE1",
                                               "\x01\xFF\xFE"
                                               "A\0"s),
                                     3, 100) +
                                 audio();
    const Case cases[] = {
        {"v1 two digits", intro, u"x.mp3", u"$2N $T", false, u"07 Intro.mp3"},
        {"v1 three digits", intro, u"x.mp3", u"$3N $T", false, u"007 Intro.mp3"},
        {"extension in any case", intro, u"song.MP3", u"$T", false, u"Intro.mp3"},
        {"forbidden removed", slash, u"x.mp3", u"[$N] $T", false,
         u"ファイル名に \"/ ? \" < > | : \" は使えません"},
        {"forbidden widened", slash, u"x.mp3", u"[$N] $T", true, u"[01] A／B.mp3"},
        {"UTF-16 frames", utf16Tag, u"x.mp3", u"$N-[$T]($L)_$A", false, u"12-[テスト](L)_A.mp3"},
        {"a value holding a token", audio() + v1("$A", "Band", "", "", "", 0), u"x.mp3", u"$T-$A",
         false, u"$A-Band.mp3"},
        {"no token", intro, u"x.mp3", u"plain", false, u"設定の形式、またはMP3タグ情報が不正です"},
        {"empty result", audio() + v1("", "", "", "", "x", 0), u"x.mp3", u"$T", false,
         u"設定の形式、またはMP3タグ情報が不正です"},
        {"not .mp3", intro, u"x.mp2", u"$T", false, u"MP3ファイルではありません(拡張子)"},
        {"no ID3v1", audio(), u"x.mp3", u"$T", false, u"TAG情報がありません"},
        {"MPEG with CRC", "\xFF\xFA"s + intro.substr(2), u"x.mp3", u"$T", false,
         u"MP3ファイルではありません(ヘッダ)"},
        {"tag larger than the file", "ID3\x03\0\0\x7F\x7F\x7F\x7F"s + audio(), u"x.mp3", u"$T",
         false, u"TAG情報が異常です（TAG Size）"},
        {"frame past the tag",
         "ID3\x03\0\0\0\0\0\x14TIT2\x7F\xFF\xFF\xFF\0\0"s + std::string(6, 'x') + audio(), u"x.mp3",
         u"$T", false, u"TAG情報が異常です（DATA）"},
        {"odd UTF-16 length",
         tag(frame("TIT2",
                   "\x01\xFF\xFE"
                   "A\0B"s)) +
             audio(),
         u"x.mp3", u"$T", false, u"A.mp3"},
    };
    for (const Case& c : cases) {
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            std::filesystem::remove(e.path());
        dir.write(utf8(c.name), c.content);
        page.format.text = c.format;
        page.settings.direction = 0;
        session.detail.fullWidthForbidden = c.fullWidth ? 1 : 0;
        const PreviewResult result = preview({std::u16string(c.name)});
        ASSERT_EQ(result.previewNew.size(), 1u) << c.label;
        EXPECT_EQ(utf8(result.previewNew[0]), utf8(c.expected)) << c.label;
    }
}

TEST_F(Mp3Page, ForbiddenCharactersAreLoggedAndTheFolderNameGoesIn) {
    dir.write("x.mp3", audio() + v1("A/B", "Band", "", "", withTrack("", 1), 0));
    page.format.text = u"[$N] $T\\$A";
    EXPECT_EQ(execute({u"x.mp3"}).processed, 1);
    const std::string folderName = dir.path().filename().string();
    EXPECT_TRUE(dir.exists("[01] AB" + folderName + "Band.mp3"));
    EXPECT_EQ(log(), "ファイル名に \"/ ? \" < > | : \" は使えません - @[01] A/B\\Band.mp3\r\n");
}

TEST_F(Mp3Page, TagsFromNamesByteForByte) {
    const std::string sound = audio();
    const std::string oldV1 = v1("Old", "Old artist", "", "2001", "hello", 12);
    struct Case {
        std::string_view label;
        std::string content;
        std::u16string_view name;
        std::string expected;
    };
    const auto newTag = [](std::string frames) {
        return "ID3\x03\0\0\0\0\x1F\x76"s + frames + std::string(4086 - frames.size(), '\0');
    };
    const std::string updatedV1 = v1("Song", "Old artist", "", "2001", withTrack("hello", 3), 12);
    const std::string bigPicture =
        frame("APIC", "\0image/jpeg\0\x03\0"s + std::string(6000, '\xAB'));
    const Case cases[] = {
        {"ID3v1 only", sound + oldV1, u"03 - Song.mp3",
         newTag(frame("TIT2", "\0Song"s) + frame("TPE1", "\0Old artist"s) +
                frame("TYER",
                      "\0"
                      "2001"s) +
                frame("COMM", "\0jpn\0hello"s) +
                frame("TRCK",
                      "\0"
                      "3"s) +
                frame("TCON", "\0(12)"s)) +
             sound + updatedV1},
        {"no tag", sound, u"03 - Song.mp3",
         newTag(frame("TIT2", "\0Song"s) +
                frame("TRCK",
                      "\0"
                      "3"s) +
                frame("TCON", "\0(12)"s)) +
             sound + v1("Song", "", "", "", withTrack(std::string(28, ' '), 3), 12)},
        // The rebuilt tag grows to hold the old picture (the given track is written as given); the
        // zero bytes after the old tag go.
        {"old tag kept",
         tag(frame("TIT2", "\0Old"s) + bigPicture + frame("TPE1", "\0Band"s)) +
             std::string(30, '\0') + sound,
         u"03 - A much longer title.mp3",
         tag(frame("TIT2", "\0A much longer title"s) +
             frame("TRCK",
                   "\0"
                   "03"s) +
             bigPicture + frame("TPE1", "\0Band"s)) +
             sound + v1("A much longer title", "", "", "", withTrack(std::string(28, ' '), 3), 12)},
        // Version 4 frames are written in version 2.3 form.
        {"old version 4 tag",
         tag(frame("TPE1", "\x03\xE6\xAD\x8C"s, 4) + frame("TDRC",
                                                           "\x03"
                                                           "2020"s,
                                                           4),
             4, 20) +
             sound,
         u"03 - Song.mp3",
         newTag(frame("TIT2", "\0Song"s) +
                frame("TRCK",
                      "\0"
                      "03"s) +
                frame("TPE1", "\x01\xFF\xFE\x4C\x6B"s) +
                frame("TDRC",
                      "\x01\xFF\xFE"
                      "2\0"
                      "0\0"
                      "2\0"
                      "0\0"s)) +
             sound + v1("Song", "", "", "", withTrack(std::string(28, ' '), 3), 12)},
    };
    page.settings.direction = 1;
    page.format.text = u"$N - $T";
    for (const Case& c : cases) {
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            std::filesystem::remove(e.path());
        dir.write(utf8(c.name), c.content);
        const std::filesystem::path path = dir.path() / utf8(c.name);
        std::filesystem::permissions(path, std::filesystem::perms(0640));
        // A preview never writes.
        EXPECT_EQ(utf8(preview({std::u16string(c.name)}).previewNew[0]), "変更無し") << c.label;
        EXPECT_EQ(dir.read(utf8(c.name)), c.content) << c.label;

        const ExecuteResult result = execute({std::u16string(c.name)});
        EXPECT_EQ(result.processed, 1) << c.label;
        EXPECT_EQ(log(), "") << c.label;
        const std::string got = dir.read(utf8(c.name));
        EXPECT_EQ(got.size(), c.expected.size()) << c.label;
        const auto differ =
            std::mismatch(got.begin(), got.end(), c.expected.begin(), c.expected.end());
        EXPECT_TRUE(got == c.expected)
            << c.label << ": the bytes differ from offset " << (differ.first - got.begin());
        EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640))
            << c.label;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                                std::filesystem::directory_iterator()),
                  1)
            << c.label << ": a temporary file was left";
    }
}

TEST_F(Mp3Page, FixedValuesReplaceThoseOfTheName) {
    dir.write("03 - Song.mp3", audio());
    page.settings = {1, 1, 1, 1, 80, u"歌手", u"Album"};
    page.format.text = u"$N - $A";
    EXPECT_EQ(execute({u"03 - Song.mp3"}).processed, 1);
    const std::string bytes = dir.read("03 - Song.mp3");
    const auto frames = id3::readFrames(bytes.substr(0, 4096));
    ASSERT_TRUE(frames.ok());
    std::vector<std::string> ids;
    for (const auto& f : *frames)
        ids.push_back(f.id + "=" + utf8(id3::frameText(f.data)));
    EXPECT_EQ(ids, (std::vector<std::string>{"TALB=Album", "TPE1=歌手", "TRCK=3", "TCON=(80)"}));
    EXPECT_EQ(bytes.substr(bytes.size() - 128),
              v1("", "\x89\xcc\x8e\xe8", "Album", "", withTrack(std::string(28, ' '), 3), 80));
}

TEST_F(Mp3Page, ProblemsLeaveTheFileUnchanged) {
    struct Case {
        std::string_view label;
        std::string content;
        std::u16string_view name;
        std::string log;
    };
    const Case cases[] = {
        {"separator missing", audio(), u"Song.mp3", "区切り文字が見つかりません - @Song.mp3\r\n"},
        {"MPEG with CRC", "\xFF\xFA"s + audio().substr(2), u"03 - Song.mp3",
         "MP3ファイルではありません(適合なし) - @03 - Song.mp3\r\n"},
        {"version 2.2 tag", "ID3\x02\0\0\0\0\0\x0ATT2\0\0\x04\0abc"s + audio(), u"03 - Song.mp3",
         "TAG情報を変換できません - @03 - Song.mp3\r\n"},
        {"compressed version 4 frame", tag(frame("APIC", "xxxx"s, 4, "\0\x08"s), 4) + audio(),
         u"03 - Song.mp3", "TAG情報を変換できません - @03 - Song.mp3\r\n"},
        {"tag says 256 MiB", "ID3\x03\0\0\x7F\x7F\x7F\x7F"s + audio(), u"03 - Song.mp3",
         "TAG情報が異常です（TAG Size） - @03 - Song.mp3\r\n"},
        {"frame past the tag",
         "ID3\x03\0\0\0\0\0\x14TIT2\x7F\xFF\xFF\xFF\0\0"s + std::string(6, 'x') + audio(),
         u"03 - Song.mp3", "TAG情報が異常です（DATA） - @03 - Song.mp3\r\n"},
    };
    page.settings.direction = 1;
    page.format.text = u"$N - $T";
    for (const Case& c : cases) {
        for (const auto& e : std::filesystem::directory_iterator(dir.path()))
            std::filesystem::remove(e.path());
        dir.write(utf8(c.name), c.content);
        EXPECT_EQ(execute({std::u16string(c.name)}).processed, 0) << c.label;
        EXPECT_EQ(log(), c.log) << c.label;
        EXPECT_EQ(dir.read(utf8(c.name)), c.content) << c.label;
    }
}

// Between a preview and the run the file may go away or become read-only.
TEST_F(Mp3Page, AFileGoneOrReadOnlyIsLogged) {
    page.settings.direction = 1;
    page.format.text = u"$N - $T";
    const std::string content = audio();
    const auto path = dir.write("01 - A.mp3", content);
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    EXPECT_EQ(execute({u"01 - A.mp3", u"02 - B.mp3"}).processed, 0);
    EXPECT_EQ(log(),
              "ファイルを開けません - @01 - A.mp3\r\nファイルを開けません - @02 - B.mp3\r\n");
    EXPECT_EQ(dir.read("01 - A.mp3"), content);
}

// A disk that fills up while the file is written (a file size limit here) leaves the file as
// it was and no temporary file.
TEST_F(Mp3Page, AnInterruptedWriteLeavesTheFileIntact) {
    page.settings.direction = 1;
    page.format.text = u"$N - $T";
    const std::string content = audio(200000) + v1("Old", "", "", "", "", 1);
    dir.write("01 - A.mp3", content);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100000, 100000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const ExecuteResult result = execute({u"01 - A.mp3"});
        const bool logged = log().starts_with("ファイルを書き込めません（");
        ::_exit(result.processed == 0 && logged ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(dir.read("01 - A.mp3"), content);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

// Tag writes are committed in groups; a run of more files than a group tags every file and
// leaves no temporary file.
TEST_F(Mp3Page, ARunOfManyFilesTagsEveryOne) {
    page.settings.direction = 1;
    page.format.text = u"$N - $T";
    std::vector<std::u16string> names;
    for (int i = 1; i <= 70; ++i) {
        const std::string name = std::to_string(i) + " - Song.mp3";
        dir.write(name, audio());
        names.push_back(text::fromUtf8(name));
    }
    EXPECT_EQ(execute(names).processed, 70);
    EXPECT_EQ(log(), "");
    std::size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        ++files;
        EXPECT_EQ(dir.read(e.path().filename().string()).substr(0, 3), "ID3");
    }
    EXPECT_EQ(files, 70u);
}

TEST(Mp3TagPage, BlockOfEightRecords) {
    Mp3TagPage page;
    page.settings = {1, 1, 0, 1, 17, u"AB", u"C"};
    page.format.text = u"$N";
    BlockWriter out(100);
    page.saveBlock(out);
    const std::string bytes = out.bytes();
    ASSERT_EQ(bytes.size(), 8u * 16 + 2 * (2 + 1 + 2));
    const std::uint32_t ids[] = {1076, 1147, 1145, 1148, 1146, 1149, 1150, 1140};
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(getUint32(bytes, 16 * i), ids[i]) << i;
    EXPECT_EQ(getUint32(bytes, 2 * 16 + 12), 100u + 128);  // the artist text after the records
    EXPECT_EQ(getUint32(bytes, 4 * 16 + 12), 100u + 132);
    EXPECT_EQ(getUint32(bytes, 7 * 16 + 12), 100u + 134);

    const std::string file = std::string(100, '\0') + bytes;
    BlockReader in(file, 100, file.size());
    Mp3TagPage back;
    ASSERT_TRUE(back.loadBlock(in));
    EXPECT_EQ(back.settings.direction, 1);
    EXPECT_EQ(back.settings.genre, 17);
    EXPECT_EQ(back.settings.artistText, u"AB");
    EXPECT_EQ(back.settings.albumText, u"C");
    EXPECT_EQ(back.format.text, u"$N");
}

TEST(Mp3TagPage, DefaultsAndIniKeys) {
    TempDir dir;
    IniFile ini(dir.folder() + u"ソラミネ.ini");
    Mp3TagPage page;
    EXPECT_EQ(page.format.text, u"$N-[$T]($L)_$A");
    EXPECT_EQ(page.settings.artistText, u"アーティスト名");
    EXPECT_EQ(page.settings.albumText, u"アルバム名");
    page.settings = {1, 1, 1, 0, 147, u"", u""};
    page.writeIni(ini);
    EXPECT_EQ(dir.read("ソラミネ.ini"),
              "[MP3]\r\nMP3=1\r\nArtist=1\r\nAlbum=1\r\nGenre=0\r\nジャンル=147\r\n");
    Mp3TagPage back;
    back.readIni(ini);
    EXPECT_EQ(back.settings.genre, 147);
    EXPECT_EQ(back.settings.fixedAlbum, 1);
}

TEST(Mp3TagPage, AnEmptyFormatOrABadOneStopsTheRun) {
    Mp3TagPage page;
    testing::FakeHost host;
    const ItemTable table;
    const RunItems items{table, {}};
    std::size_t count = 0;
    page.format.text = u"";
    EXPECT_EQ(page.prepare(items, {}, host, count),
              errorMessage(u"変更する形式を入力してください"));
    page.format.text = u"$N$T";
    EXPECT_EQ(page.prepare(items, {}, host, count), std::nullopt);  // tags to name: not parsed
    page.settings.direction = 1;
    EXPECT_EQ(page.prepare(items, {}, host, count),
              errorMessage(u"設定の形式が不正です(区切り無し)"));
}

}  // namespace
}  // namespace soramine
