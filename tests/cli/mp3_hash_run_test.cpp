// Jobs of the methods that read or write file contents, run as a user runs them; the MP3 tags
// are written and read by another program's library (mutagen) on the other side.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/job_fixture.h"
#include "core/methods/id3.h"

namespace soramine::testing {
namespace {

using CliMethods = CliJobTest;

TEST_F(CliMethods, HashNames) {
    struct Case {
        std::vector<std::string> job;  // make-job options after --method ハッシュ
        std::vector<std::string> after;
    };
    const Case cases[] = {
        {{}, {"00000000", "352441C2.txt"}},
        {{"--set", "種類=1", "--set", "アルファベット=1", "--set", "囲み=1"},
         {"[900150983cd24fb0d6963f7d28e17f72].txt", "[d41d8cd98f00b204e9800998ecf8427e]"}},
        {{"--set", "種類=2", "--set", "方法=1", "--set", "追加位置=0"},
         {"A9993E364706816ABA3E25717850C26C9CD0D89Da.txt",
          "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709README"}},
    };
    for (const Case& c : cases) {
        for (const auto& name : names())
            std::filesystem::remove(files.path() / name);
        files.write("a.txt", "abc");
        files.write("README", "");
        std::vector<std::string> job{"--method", "ハッシュ"};
        job.insert(job.end(), c.job.begin(), c.job.end());
        const CliResult r = cli({"run", makeJob(job)});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "実行結果　(2 / 2) 処理しました。\n");
        EXPECT_EQ(names(), c.after);
    }
}

class CliMp3 : public CliJobTest {
  protected:
    // Runs a Python script with mutagen, the path of `file` as its argument; its output.
    std::string mutagen(const std::string& script, const std::string& file) const {
        const std::filesystem::path py = config.path() / "script.py";
        std::ofstream(py) << "import sys\nfrom mutagen.id3 import ID3, APIC, TALB, TCOM, TIT2, "
                             "TPE1, TRCK\npath = sys.argv[1]\n"
                          << script;
        const std::string command =
            "/usr/bin/python3 '" + py.string() + "' '" + (files.path() / file).string() + "'";
        std::string out;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            char buffer[4096];
            std::size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
                out.append(buffer, n);
            EXPECT_EQ(::pclose(pipe), 0) << script;
        }
        return out;
    }

    // MPEG audio without zeros, and a picture.
    static std::string sound() {
        std::string out = "\xFF\xFB\x90\x64";
        for (int i = 0; i < 50000; ++i)
            out += static_cast<char>(1 + i % 253);
        return out;
    }
    static std::string picture() {
        std::string out = "\x89PNG\r\n\x1A\n";
        for (int i = 0; i < 9000; ++i)
            out += static_cast<char>(i * 7);
        return out;
    }
};

TEST_F(CliMp3, NamesFromTagsWrittenByMutagen) {
    files.write("a.mp3", sound());
    files.write("cover.png", picture());
    for (const int version : {3, 4}) {
        mutagen(
            "t = ID3()\n"
            "t.add(TIT2(encoding=3, text='テスト曲'))\n"
            "t.add(TPE1(encoding=1, text='歌手'))\n"
            "t.add(APIC(encoding=3, mime='image/png', type=3, desc='表紙', data=open(path[:-5] "
            "+ 'cover.png', 'rb').read()))\n"
            "t.add(TALB(encoding=0, text='Album'))\n"
            "t.add(TRCK(encoding=3, text='5'))\n"
            "t.save(path, v2_version=" +
                std::to_string(version) + ")\n",
            "a.mp3");
        const CliResult r =
            cli({"run",
                 makeJob({"--method", "MP3", "--set", "設定値=$2N $T - $A ($L)", "--ext", "mp3"})});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(names(),
                  (std::vector<std::string>{"05 テスト曲 - 歌手 (Album).mp3", "cover.png"}))
            << version;
        std::filesystem::rename(files.path() / "05 テスト曲 - 歌手 (Album).mp3",
                                files.path() / "a.mp3");
    }
}

// Tags written by this program are read by mutagen: text, track, a cover picture byte for byte,
// and the audio unchanged.
TEST_F(CliMp3, TagsFromNamesReadByMutagen) {
    const std::string audio = sound();
    const std::string name = "07 - 新しい題.mp3";
    files.write(name, audio);
    files.write("cover.png", picture());
    mutagen(
        "t = ID3()\n"
        "t.add(TIT2(encoding=3, text='Old title'))\n"
        "t.add(APIC(encoding=3, mime='image/png', type=3, desc='表紙', data=open(path[:len(path) "
        "- len(path.split('/')[-1])] + 'cover.png', 'rb').read()))\n"
        "t.add(TCOM(encoding=3, text='作曲者'))\n"
        "t.save(path, v2_version=4)\n",
        name);
    const std::string job =
        makeJob({"--method", "MP3", "--set", "MP3=1", "--set", "設定値=$N - $T", "--set",
                 "Artist=1", "--set", "MP3アーティスト名=歌手", "--ext", "mp3"});
    // A preview writes nothing.
    const std::string before = files.read(name);
    EXPECT_EQ(cli({"preview", job}).status, 0);
    EXPECT_EQ(files.read(name), before);

    const CliResult r = cli({"run", job});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "実行結果　(1 / 1) 処理しました。\n");
    EXPECT_EQ(mutagen("t = ID3(path)\n"
                      "print(t.version)\n"
                      "for k in ['TIT2', 'TRCK', 'TPE1', 'TCOM']: print(k, t[k].text[0])\n"
                      "p = t.getall('APIC')[0]\n"
                      "print(p.mime, p.desc, p.data == open(path[:len(path) - "
                      "len(path.split('/')[-1])] + 'cover.png', 'rb').read())\n",
                      name),
              "(2, 3, 0)\nTIT2 新しい題\nTRCK 07\nTPE1 歌手\nTCOM 作曲者\nimage/png 表紙 True\n");
    const std::string after = files.read(name);
    const std::uint64_t tagEnd = id3::tagTotalSize(after);
    ASSERT_GT(after.size(), tagEnd + 128);
    EXPECT_EQ(after.substr(tagEnd, after.size() - tagEnd - 128), audio);
    EXPECT_EQ(after.substr(after.size() - 128, 3), "TAG");
}

}  // namespace
}  // namespace soramine::testing
