#include "core/app/one_shot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/text/utf.h"
#include "support/temp_dir.h"

namespace soramine::app {
namespace {

using soramine::testing::TempDir;
using soramine::testing::utf8;
using Files = std::map<std::string, std::string>;  // relative path -> content

void writeAll(const TempDir& dir, const Files& files) {
    for (const auto& [path, content] : files)
        dir.write(path, content);
}

// Every file under the folder with its content.
Files snapshot(const TempDir& dir) {
    Files files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.path())) {
        if (e.is_regular_file()) {
            const std::string relative = e.path().lexically_relative(dir.path()).string();
            files[relative] = dir.read(relative);
        }
    }
    return files;
}

std::u16string in(const TempDir& dir, std::string_view relative) {
    return dir.folder() + text::fromUtf8(relative);
}

TEST(SwapNames, SwapsOrRestoresEverything) {
    struct Case {
        const char* label;
        Files before;
        const char* a;
        const char* b;
        bool ok;
        Files after;
    } cases[] = {
        {"same folder",
         {{"a.txt", "A"}, {"b.jpg", "B"}},
         "a.txt",
         "b.jpg",
         true,
         {{"a.txt", "B"}, {"b.jpg", "A"}}},
        {"two folders",
         {{"x/a.txt", "A"}, {"y/b.txt", "B"}},
         "x/a.txt",
         "y/b.txt",
         true,
         {{"x/b.txt", "A"}, {"y/a.txt", "B"}}},
        {"japanese names",
         {{"写真.jpg", "A"}, {"メモ", "B"}},
         "写真.jpg",
         "メモ",
         true,
         {{"写真.jpg", "B"}, {"メモ", "A"}}},
        {"temporary name taken",
         {{"a", "A"}, {"b", "B"}, {"a_____.____", "T"}},
         "a",
         "b",
         false,
         {{"a", "A"}, {"b", "B"}, {"a_____.____", "T"}}},
        {"B's target taken",
         {{"x/a", "A"}, {"y/b", "B"}, {"y/a", "C"}},
         "x/a",
         "y/b",
         false,
         {{"x/a", "A"}, {"y/b", "B"}, {"y/a", "C"}}},
        {"A's target taken",
         {{"x/a", "A"}, {"y/b", "B"}, {"x/b", "C"}},
         "x/a",
         "y/b",
         false,
         {{"x/a", "A"}, {"y/b", "B"}, {"x/b", "C"}}},
        {"B missing", {{"a", "A"}}, "a", "b", false, {{"a", "A"}}},
        {"A missing", {{"b", "B"}}, "a", "b", false, {{"b", "B"}}},
        {"a file with itself", {{"a", "A"}}, "a", "a", false, {{"a", "A"}}},
        {"a file with itself spelled otherwise",
         {{"x/a", "A"}},
         "x/a",
         "x/../x/./a",
         false,
         {{"x/a", "A"}}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeAll(dir, c.before);
        const auto result = swapNames(in(dir, c.a), in(dir, c.b));
        EXPECT_EQ(result.ok(), c.ok) << c.label;
        if (!result.ok()) {
            EXPECT_TRUE(result.error().notRestored.empty()) << c.label;
            // The failure names the user's file, never the temporary name.
            EXPECT_TRUE(result.error().path == in(dir, c.a) || result.error().path == in(dir, c.b))
                << c.label << ": " << utf8(result.error().path);
        }
        EXPECT_EQ(snapshot(dir), c.after) << c.label;
    }
}

TEST(RenameToDigest, NamesTheFileAfterItsDigest) {
    struct Case {
        const char* name;
        const char* content;
        DigestKind kind;
        const char* expected;
    } cases[] = {
        {"photo.jpg", "abc", DigestKind::Crc32, "352441C2.jpg"},
        {"README", "", DigestKind::Md5, "D41D8CD98F00B204E9800998ECF8427E"},
        {"archive.tar.gz", "abc", DigestKind::Sha1, "A9993E364706816ABA3E25717850C26C9CD0D89D.gz"},
        {".profile", "", DigestKind::Crc32, "00000000.profile"},
        {"folder.d/data", "", DigestKind::Crc32, "folder.d/00000000"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write(c.name, c.content);
        const auto result = renameToDigest(in(dir, c.name), c.kind);
        ASSERT_TRUE(result.ok()) << c.name;
        EXPECT_EQ(*result, in(dir, c.expected));
        EXPECT_EQ(snapshot(dir), (Files{{c.expected, c.content}})) << c.name;
    }
}

TEST(RenameToDigest, LeavesTheFileWhenItCannotBeReadOrTheNameIsTaken) {
    TempDir dir;
    dir.write("a.txt", "abc");
    dir.write("352441C2.txt", "other");
    dir.makeFolder("sub.d");
    const Files before = snapshot(dir);

    auto taken = renameToDigest(in(dir, "a.txt"), DigestKind::Crc32);
    ASSERT_FALSE(taken.ok());
    EXPECT_FALSE(taken.error().reading);
    auto missing = renameToDigest(in(dir, "none.txt"), DigestKind::Md5);
    ASSERT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error().reading);
    EXPECT_FALSE(renameToDigest(in(dir, "sub.d"), DigestKind::Md5).ok());

    EXPECT_EQ(snapshot(dir), before);
    EXPECT_TRUE(dir.exists("sub.d"));
}

TEST(RandomText, LengthAndCharacters) {
    for (int length : {1, 8, 255}) {
        const std::u16string text = randomText(length, 12345);
        EXPECT_EQ(text.size(), static_cast<std::size_t>(length));
        for (char16_t c : text) {
            EXPECT_TRUE((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') ||
                        (c >= u'A' && c <= u'Z'))
                << static_cast<int>(c);
        }
    }
    EXPECT_EQ(randomText(40, 7), randomText(40, 7));
    EXPECT_NE(randomText(40, 7), randomText(40, 8));
}

TEST(RenameToRandom, KeepsFolderAndExtension) {
    struct Case {
        const char* name;
        int length;
        const char* extension;
        bool ok;  // a name longer than the file system takes (255 bytes) fails
    } cases[] = {{"photo.jpg", 8, ".jpg", true},
                 {"x.d/README", 1, "", true},
                 {"a.tar.gz", 252, ".gz", true},
                 {"a.tar.gz", 253, ".gz", false}};
    for (const Case& c : cases) {
        TempDir dir;
        dir.write(c.name, "content");
        const auto result = renameToRandom(in(dir, c.name), c.length, 99);
        ASSERT_EQ(result.ok(), c.ok) << c.name << " " << c.length;
        const std::string folder = std::filesystem::path(c.name).parent_path().string();
        const std::string expected = c.ok ? (folder.empty() ? "" : folder + "/") +
                                                utf8(randomText(c.length, 99)) + c.extension
                                          : c.name;
        EXPECT_EQ(snapshot(dir), (Files{{expected, "content"}})) << c.name;
    }
}

TEST(OneShot, RecognisesOnlyTheExactFormWords) {
    using Args = std::vector<std::u16string>;
    EXPECT_TRUE(isOneShot(Args{u"C"}));
    EXPECT_TRUE(isOneShot(Args{u"/h", u"/c", u"x"}));
    EXPECT_TRUE(isOneShot(Args{u"/r"}));
    EXPECT_FALSE(isOneShot(Args{u"c", u"a", u"b"}));
    EXPECT_FALSE(isOneShot(Args{u"/H", u"/c", u"x"}));
    EXPECT_FALSE(isOneShot(Args{u"list"}));
    EXPECT_FALSE(isOneShot(Args{}));
}

TEST(OneShot, ArgumentRules) {
    const Message twoFiles{u"ファイルは2つにしてください", u"エラー", Icon::Error};
    const Message swapped{u"入れ替えました", u"処理結果", Icon::Information};
    const Message oneFile{u"ファイルは1つにしてください", u"エラー", Icon::Error};
    struct Case {
        std::vector<const char*> args;  // "@name" stands for a file in the test folder
        OneShotStatus status;
        std::optional<Message> message;
        Files after;  // the folder starts with a.txt = "abc" and b.txt = "B"
    };
    const Files untouched{{"a.txt", "abc"}, {"b.txt", "B"}};
    const Case cases[] = {
        {{"C"}, OneShotStatus::BadArguments, twoFiles, untouched},
        {{"C", "@a.txt"}, OneShotStatus::BadArguments, twoFiles, untouched},
        {{"C", "@a.txt", "@b.txt", "@b.txt"}, OneShotStatus::BadArguments, twoFiles, untouched},
        {{"/h", "/c", "@a.txt", "@b.txt"}, OneShotStatus::BadArguments, oneFile, untouched},
        {{"/r", "3", "@a.txt", "@b.txt"}, OneShotStatus::BadArguments, oneFile, untouched},
        {{"C", "@a.txt", "@b.txt"},
         OneShotStatus::Done,
         swapped,
         {{"a.txt", "B"}, {"b.txt", "abc"}}},
        {{"/h", "/x", "@a.txt"}, OneShotStatus::BadArguments, std::nullopt, untouched},
        {{"/h", "/C", "@a.txt"}, OneShotStatus::BadArguments, std::nullopt, untouched},
        {{"/h", "/c"}, OneShotStatus::BadArguments, std::nullopt, untouched},
        {{"/h"}, OneShotStatus::BadArguments, std::nullopt, untouched},
        {{"/h", "/c", "@a.txt"},
         OneShotStatus::Done,
         std::nullopt,
         {{"352441C2.txt", "abc"}, {"b.txt", "B"}}},
        {{"/h", "/m", "@a.txt"},
         OneShotStatus::Done,
         std::nullopt,
         {{"900150983CD24FB0D6963F7D28E17F72.txt", "abc"}, {"b.txt", "B"}}},
        {{"/r", "0", "@a.txt"}, OneShotStatus::BadArguments, std::nullopt, untouched},
        {{"/r", "256", "@a.txt"}, OneShotStatus::BadArguments, std::nullopt, untouched},
        {{"/r", "-1", "@a.txt"}, OneShotStatus::BadArguments, std::nullopt, untouched},
        {{"/r", "x", "@a.txt"}, OneShotStatus::BadArguments, std::nullopt, untouched},
        {{"/r", "8"}, OneShotStatus::BadArguments, std::nullopt, untouched},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeAll(dir, untouched);
        std::vector<std::u16string> args;
        std::string label;
        for (std::string_view a : c.args) {
            args.push_back(a.starts_with('@') ? in(dir, a.substr(1)) : text::fromUtf8(a));
            label += std::string(a) + " ";
        }
        const OneShotOutcome outcome = runOneShot(args);
        EXPECT_EQ(outcome.status, c.status) << label;
        EXPECT_EQ(outcome.message, c.message) << label;
        EXPECT_EQ(snapshot(dir), c.after) << label;
    }
}

TEST(OneShot, RandomAndFailedForms) {
    TempDir dir;
    dir.write("photo.jpg", "x");
    const auto random = runOneShot(std::vector<std::u16string>{u"/r", u"8", in(dir, "photo.jpg")});
    EXPECT_EQ(random.status, OneShotStatus::Done);
    const Files after = snapshot(dir);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after.begin()->first.size(), 8u + 4u);
    EXPECT_TRUE(after.begin()->first.ends_with(".jpg"));

    const auto missing =
        runOneShot(std::vector<std::u16string>{u"/h", u"/s", in(dir, "missing.txt")});
    EXPECT_EQ(missing.status, OneShotStatus::RenameFailed);
    ASSERT_TRUE(missing.message.has_value());
    EXPECT_TRUE(missing.message->text.starts_with(u"ファイルが開けません"));

    const std::string name = after.begin()->first;
    const auto itself =
        runOneShot(std::vector<std::u16string>{u"C", in(dir, name), in(dir, "./" + name)});
    EXPECT_EQ(itself.status, OneShotStatus::BadArguments);
    ASSERT_TRUE(itself.message.has_value());
    EXPECT_TRUE(itself.message->text.starts_with(u"2つのパスが同じファイルを指しています\n"));

    const auto swap =
        runOneShot(std::vector<std::u16string>{u"C", in(dir, "none1"), in(dir, "none2")});
    EXPECT_EQ(swap.status, OneShotStatus::RenameFailed);
    ASSERT_TRUE(swap.message.has_value());
    EXPECT_EQ(swap.message->caption, u"エラー");
    EXPECT_EQ(snapshot(dir), after);
}

}  // namespace
}  // namespace soramine::app
