#include "core/engine/transfer.h"

#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>

#include "engine_fixture.h"

namespace soramine {
namespace {

namespace fs = std::filesystem;
using testing::itemRow;
using testing::TempDir;
using testing::utf8;

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(folder))
        out.insert(e.path().filename().string());
    return out;
}

class Transfer : public ::testing::Test {
  protected:
    // Lists `names` of the source folder as rows.
    void rows(std::initializer_list<std::u16string_view> names) {
        for (auto name : names)
            testing::appendRow(session, itemRow(std::u16string(name), source.folder()));
    }

    TempDir iniDir, source, target, outside;
    RenameSession session{IniFile(iniDir.folder() + u"test.ini"), testing::fakeTable()};
    testing::FakeHost host;
};

TEST_F(Transfer, CopiesSymbolicLinksAsLinks) {
    outside.write("passwd", "secret");
    const std::string secret = (outside.path() / "passwd").string();
    source.write("f/plain", "p");
    fs::create_symlink(secret, source.path() / "f/link");
    fs::create_symlink(secret, source.path() / "top");
    fs::create_directory_symlink(outside.path(), source.path() / "folderLink");
    rows({u"f", u"top", u"folderLink"});
    copyItems(session, host, {0, 1, 2}, target.folder());
    EXPECT_TRUE(host.messages.empty()) << utf8(host.messages[0].text);
    EXPECT_EQ(target.read("f/plain"), "p");
    for (const char* link : {"f/link", "top", "folderLink"}) {
        ASSERT_TRUE(fs::is_symlink(target.path() / link)) << link;
        EXPECT_EQ(fs::read_symlink(target.path() / link), fs::read_symlink(source.path() / link));
    }
}

TEST_F(Transfer, AFailedCopyRemovesWhatItMadeAndSaysWhy) {
    source.write("f/one", "new");
    source.write("f/sub/two", "2");
    source.write("f/sub/deeper/three", "3");
    ASSERT_EQ(::mkfifo((source.path() / "f/sub/pipe").c_str(), 0600), 0);  // cannot be copied
    fs::create_symlink("one", source.path() / "f/link");
    target.write("f/mine", "keep");  // the user's own, in a folder the copy merges into
    target.write("f/one", "old");
    rows({u"f"});
    host.yes = true;
    copyItems(session, host, {0}, target.folder());
    ASSERT_EQ(host.messages.size(), 1u);
    const Message& m = host.messages[0];
    EXPECT_EQ(m.caption, source.folder() + u"f");
    EXPECT_TRUE(m.text.starts_with(u"コピーに失敗しました\r\n" + source.folder() + u"f/sub/pipe"))
        << utf8(m.text);
    EXPECT_TRUE(m.text.ends_with(u": この要求はサポートされていません。")) << utf8(m.text);
    // What was there before stays; what the copy created is gone. The file it overwrote has
    // the new content (the old one cannot come back).
    EXPECT_EQ(namesIn(target.path() / "f"), (std::set<std::string>{"mine", "one"}));
    EXPECT_EQ(target.read("f/mine"), "keep");
}

TEST_F(Transfer, AFailedMoveSaysWhyAndWhere) {
    source.write("a", "A");
    rows({u"a"});
    const std::u16string missing = target.folder() + u"missing";
    moveItems(session, host, {0}, missing);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], (Message{u"移動に失敗しました\r\n" + missing +
                                             u"/a: 指定されたファイルが見つかりません。",
                                         source.folder() + u"a", Icon::Error}));
    EXPECT_EQ(source.read("a"), "A");
}

}  // namespace
}  // namespace soramine
