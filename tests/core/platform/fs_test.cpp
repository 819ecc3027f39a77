#include "core/platform/fs.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <thread>

#include "core/text/utf.h"
#include "support/temp_dir.h"

namespace soramine::platform {
namespace {

class Fs : public ::testing::Test {
  protected:
    std::u16string at(std::string_view relative) const {
        return dir.folder() + text::fromUtf8(relative);
    }
    testing::TempDir dir;
};

TEST_F(Fs, RenameNeverReplacesAFileOrAFolder) {
    dir.write("a", "A");
    dir.write("b", "B");
    dir.makeFolder("d");
    auto r = renameNoReplace(at("a"), at("b"));
    ASSERT_FALSE(r);
    EXPECT_TRUE(isAlreadyExists(r.error()));
    EXPECT_FALSE(renameNoReplace(at("d"), at("b")));
    EXPECT_FALSE(renameNoReplace(at("a"), at("d")));
    EXPECT_EQ(dir.read("a"), "A");
    EXPECT_EQ(dir.read("b"), "B");

    ASSERT_TRUE(renameNoReplace(at("a"), at("c")));
    EXPECT_EQ(dir.read("c"), "A");
    EXPECT_FALSE(dir.exists("a"));
    auto gone = renameNoReplace(at("a"), at("e"));
    ASSERT_FALSE(gone);
    EXPECT_FALSE(isAlreadyExists(gone.error()));
    EXPECT_EQ(systemErrorText(gone.error()), u"指定されたファイルが見つかりません。");
}

TEST_F(Fs, AnOpenFolderRenamesInTheFolderItOpened) {
    dir.makeFolder("d");
    dir.write("d/a", "A");
    dir.write("d/b", "B");
    const OpenFolder folder(at("d/"));
    EXPECT_TRUE(isAlreadyExists(folder.renameNoReplace(u"a", u"b").error()));
    ASSERT_TRUE(folder.renameNoReplace(u"a", u"c"));
    EXPECT_EQ(dir.read("d/c"), "A");

    // The folder moves and another takes its path: the renames follow the folder opened.
    ASSERT_TRUE(renameNoReplace(at("d"), at("moved")));
    dir.makeFolder("d");
    dir.write("d/c", "other");
    ASSERT_TRUE(folder.renameNoReplace(u"c", u"e"));
    EXPECT_EQ(dir.read("moved/e"), "A");
    EXPECT_EQ(dir.read("d/c"), "other");

    // A folder that cannot be opened fails each rename as its full paths would.
    const OpenFolder missing(at("nowhere/"));
    auto gone = missing.renameNoReplace(u"a", u"b");
    ASSERT_FALSE(gone);
    EXPECT_EQ(systemErrorText(gone.error()), u"指定されたファイルが見つかりません。");
}

TEST_F(Fs, CaseOnlyRenameIsNoCollision) {
    dir.write("a.txt", "x");
    EXPECT_TRUE(renameNoReplace(at("a.txt"), at("A.txt")));
    EXPECT_TRUE(dir.exists("A.txt"));
}

TEST_F(Fs, CopyKeepsOrReplacesAsAsked) {
    dir.write("src", "new");
    dir.write("dst", "old");
    auto refused = copyFile(at("src"), at("dst"), false);
    ASSERT_FALSE(refused);
    EXPECT_TRUE(isAlreadyExists(refused.error()));
    EXPECT_EQ(dir.read("dst"), "old");
    ASSERT_TRUE(copyFile(at("src"), at("dst"), true));
    EXPECT_EQ(dir.read("dst"), "new");
    EXPECT_FALSE(copyFile(at("missing"), at("x"), true));
    dir.makeFolder("folder");
    EXPECT_FALSE(copyFile(at("folder"), at("folder.bak"), true));
    // No temporary file is left behind by any of these.
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path()))
        entries += !e.is_directory();
    EXPECT_EQ(entries, 2);
}

TEST_F(Fs, MoveIntoAnotherFolderNeverReplaces) {
    dir.write("a", "A");
    dir.write("to/a", "old");
    EXPECT_FALSE(moveNoReplace(at("a"), at("to/a")));
    ASSERT_TRUE(removeFile(at("to/a")));
    ASSERT_TRUE(moveNoReplace(at("a"), at("to/a")));
    EXPECT_EQ(dir.read("to/a"), "A");
}

TEST_F(Fs, ListsEntriesWithAttributes) {
    dir.write("plain.txt", "12345");
    dir.write(".dot");
    dir.write("listed");
    dir.write(".hidden", "listed\r\nother\n");
    dir.makeFolder("sub");
    auto ro = dir.write("ro");
    chmod(ro.c_str(), 0444);
    std::map<std::u16string, EntryInfo> seen;
    ASSERT_TRUE(listFolder(dir.folder(), [&](EntryInfo& e) { seen[e.name] = e; }));
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_EQ(seen[u"plain.txt"].size, 5u);
    EXPECT_EQ(seen[u"plain.txt"].attributes, attr::kNormal);
    EXPECT_TRUE(seen[u"plain.txt"].modified);
    EXPECT_EQ(seen[u".dot"].attributes & attr::kHidden, attr::kHidden);
    EXPECT_EQ(seen[u"listed"].attributes & attr::kHidden, attr::kHidden);
    EXPECT_EQ(seen[u"ro"].attributes & attr::kReadOnly, attr::kReadOnly);
    EXPECT_TRUE(seen[u"sub"].isFolder);
    EXPECT_EQ(seen[u"sub"].attributes & attr::kDirectory, attr::kDirectory);
    EXPECT_FALSE(listFolder(at("nope/"), [](EntryInfo&) {}));

    auto listed = lookUp(at("listed"));
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->attributes & attr::kHidden, attr::kHidden);
    EXPECT_FALSE(lookUp(at("nope")));
}

TEST_F(Fs, AListingWithoutStatusTellsNamesTypesAndHiddenMarks) {
    dir.write("plain.txt", "12345");
    dir.write(".dot");
    dir.makeFolder("sub");
    ASSERT_EQ(symlink("sub", (dir.path() / "link").c_str()), 0);
    auto ro = dir.write("ro");
    chmod(ro.c_str(), 0444);
    std::map<std::u16string, EntryInfo> seen;
    ASSERT_TRUE(listFolder(
        dir.folder(), [&](EntryInfo& e) { seen[e.name] = e; }, {}, EntryDetail::kNameAndType));
    ASSERT_EQ(seen.size(), 5u);
    for (const auto& [name, e] : seen) {
        EXPECT_FALSE(e.created || e.modified || e.accessed) << testing::utf8(name);
        EXPECT_EQ(e.size, 0u) << testing::utf8(name);
    }
    EXPECT_EQ(seen[u"plain.txt"].attributes, attr::kNormal);
    EXPECT_EQ(seen[u"ro"].attributes, attr::kNormal);  // read-only needs the status
    EXPECT_EQ(seen[u".dot"].attributes, attr::kHidden);
    EXPECT_TRUE(seen[u"sub"].isFolder);
    EXPECT_FALSE(seen[u"link"].isFolder);  // a link to a folder is not followed
}

TEST_F(Fs, ListsALargeFolderCompletelyInItsOwnOrder) {
    // Large folders share the status calls with a helper thread.
    for (int i = 0; i < 2000; ++i)
        dir.write("f" + std::to_string(i), std::string(i % 7, 'x'));
    std::vector<std::u16string> order;
    std::map<std::u16string, std::uint64_t> sizes;
    ASSERT_TRUE(listFolder(dir.folder(), [&](EntryInfo& e) {
        order.push_back(e.name);
        sizes[e.name] = e.size;
    }));
    ASSERT_EQ(sizes.size(), 2000u);
    for (int i = 0; i < 2000; ++i)
        ASSERT_EQ(sizes[text::fromUtf8("f" + std::to_string(i))], i % 7u);
    std::vector<std::u16string> again;
    ASSERT_TRUE(listFolder(dir.folder(), [&](EntryInfo& e) { again.push_back(e.name); }));
    EXPECT_EQ(order, again);
}

// What the process holds: open descriptors and running threads.
size_t entriesOf(const char* folder) {
    size_t n = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(folder))
        ++n;
    return n;
}

TEST_F(Fs, AListingLeftByAnExceptionLeavesNothingOpenOrRunning) {
    // 1,000 entries share the status calls with a helper thread; 10 do not.
    for (int i = 0; i < 1000; ++i)
        dir.write((i < 10 ? "small/f" : "large/f") + std::to_string(i));
    const size_t descriptors = entriesOf("/proc/self/fd");
    const size_t threads = entriesOf("/proc/self/task");
    struct Case {
        const char* folder;
        int throwAt;
    };
    for (const Case c : {Case{"small/", 0}, Case{"small/", 9}, Case{"large/", 0},
                         Case{"large/", 500}, Case{"large/", 989}}) {
        int seen = 0;
        EXPECT_THROW((void)listFolder(at(c.folder),
                                      [&](EntryInfo&) {
                                          if (seen++ == c.throwAt)
                                              throw std::runtime_error("stop");
                                      }),
                     std::runtime_error)
            << c.folder << c.throwAt;
        EXPECT_EQ(seen, c.throwAt + 1);
        EXPECT_EQ(entriesOf("/proc/self/fd"), descriptors) << c.folder << c.throwAt;
        // A joined thread may linger in the task list for a moment.
        for (int wait = 0; wait < 100 && entriesOf("/proc/self/task") != threads; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(entriesOf("/proc/self/task"), threads) << c.folder << c.throwAt;
    }
    size_t listed = 0;
    ASSERT_TRUE(listFolder(at("large/"), [&](EntryInfo&) { ++listed; }));
    EXPECT_EQ(listed, 990u);
}

TEST_F(Fs, LooksUpPathsOfSeveralFoldersTogether) {
    dir.write("a/x", "12");
    dir.write("a/y");
    dir.write("a/.hidden", "y\n");
    dir.write("b/y");
    dir.write("b/z");
    dir.write("b/.hidden", "z\n");
    dir.makeFolder("b/sub");
    struct Case {
        const char* path;
        const char16_t* name;  // nullptr: nothing is found
        std::uint32_t attributes;
    };
    const Case cases[] = {
        {"a/x", u"x", attr::kNormal},
        {"b/y", u"y", attr::kNormal},  // "y" is hidden in a/,
                                       // not here
        {"a/y", u"y", attr::kHidden},
        {"b/z", u"z", attr::kHidden},
        {"a/z", nullptr, 0},
        {"b/sub/", u"sub", attr::kDirectory},
        {"b", u"b", attr::kDirectory},
        {"c/x", nullptr, 0},
        {"a/x", u"x", attr::kNormal},
    };
    std::vector<std::u16string> paths;
    for (const Case& c : cases)
        paths.push_back(at(c.path));
    paths.push_back(u"/");
    const auto found = lookUpEach(paths);
    ASSERT_EQ(found.size(), paths.size());
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        if (c.name == nullptr) {
            EXPECT_FALSE(found[i]) << c.path;
            continue;
        }
        ASSERT_TRUE(found[i]) << c.path;
        EXPECT_EQ(found[i]->name, c.name) << c.path;
        EXPECT_EQ(found[i]->attributes, c.attributes) << c.path;
        EXPECT_EQ(found[i]->modified, lookUp(paths[i])->modified) << c.path;
    }
    EXPECT_EQ(found[0]->size, 2u);
    ASSERT_TRUE(found.back());
    EXPECT_TRUE(found.back()->isFolder);
}

TEST_F(Fs, SetsReadOnlyAndHidden) {
    dir.write("f");
    ASSERT_TRUE(setAttributes(at("f"), attr::kReadOnly | attr::kHidden));
    EXPECT_EQ(lookUp(at("f"))->attributes & (attr::kReadOnly | attr::kHidden),
              attr::kReadOnly | attr::kHidden);
    EXPECT_EQ(dir.read(".hidden"), "f\n");
    ASSERT_TRUE(setAttributes(at("f"), 0));
    EXPECT_EQ(lookUp(at("f"))->attributes, attr::kNormal);
    EXPECT_EQ(dir.read(".hidden"), "");
}

TEST_F(Fs, CreationTimeIsNeverReportedAsSet) {
    dir.write("f");
    EXPECT_FALSE(canSetCreationTime());
    EXPECT_FALSE(setTimes(at("f"), FileTime{1000, 0}, FileTime{2000, 0}, std::nullopt));
    EXPECT_NE(lookUp(at("f"))->modified->seconds, 2000);  // nothing changed
    ASSERT_TRUE(setTimes(at("f"), std::nullopt, FileTime{2000, 5}, std::nullopt));
    EXPECT_EQ(*lookUp(at("f"))->modified, (FileTime{2000, 5}));
}

TEST_F(Fs, DanglingLinkStillTakesItsName) {
    ASSERT_EQ(symlink("nowhere", (dir.path() / "link").c_str()), 0);
    EXPECT_TRUE(exists(at("link")));
    EXPECT_FALSE(renameNoReplace(at("x"), at("link")));
}

TEST_F(Fs, AtomicWriteReplacesContentAndKeepsMode) {
    auto f = dir.write("settings.ini", "old");
    chmod(f.c_str(), 0600);
    ASSERT_TRUE(writeFileAtomic(at("settings.ini"), "new content"));
    EXPECT_EQ(dir.read("settings.ini"), "new content");
    struct stat st;
    stat(f.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    auto read = readFile(at("settings.ini"));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, "new content");
    EXPECT_FALSE(writeFileAtomic(at("no/such/folder/x"), "y"));
}

// A replacement is the file's content only once committed: until then, and when it is
// dropped or the path names another file by then, the file is as it was and no temporary file
// stays.
TEST_F(Fs, AReplacementChangesTheFileOnlyWhenCommitted) {
    enum class Then { kCommit, kDrop, kFileReplaced, kFileRemoved };
    struct Case {
        std::string_view label;
        Then then;
        std::string expected;  // the content at the path afterwards ("" for none)
    };
    const Case cases[] = {
        {"committed", Then::kCommit, "HEADold-audioTAIL"},
        {"dropped", Then::kDrop, "0123old-audio!"},
        {"another file took the name", Then::kFileReplaced, "other"},
        {"the file was removed", Then::kFileRemoved, ""},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directories(dir.path());
        const auto f = dir.write("song.mp3", "0123old-audio!");
        chmod(f.c_str(), 0640);
        {
            auto file = OpenFile::open(at("song.mp3"), true);
            ASSERT_TRUE(file) << c.label;
            auto pending = file->writeReplacement("HEAD", 4, 9, "TAIL");
            ASSERT_TRUE(pending) << c.label;
            EXPECT_EQ(pending->size(), 17u);
            EXPECT_EQ(dir.read("song.mp3"), "0123old-audio!") << c.label;
            if (c.then == Then::kFileReplaced) {
                std::filesystem::remove(f);
                dir.write("song.mp3", "other");
            }
            if (c.then == Then::kFileRemoved)
                std::filesystem::remove(f);
            if (c.then != Then::kDrop) {
                EXPECT_EQ(static_cast<bool>(pending->commit()), c.then == Then::kCommit) << c.label;
            }
        }
        EXPECT_EQ(std::filesystem::exists(f) ? dir.read("song.mp3") : "", c.expected) << c.label;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                                std::filesystem::directory_iterator()),
                  c.expected.empty() ? 0 : 1)
            << c.label;
        struct stat st;
        if (c.then == Then::kCommit && stat(f.c_str(), &st) == 0) {
            EXPECT_EQ(st.st_mode & 0777, 0640u);
        }
    }
}

TEST_F(Fs, CopyMakesALinkOfALinkAndNeverFollowsIt) {
    dir.write("outside", "secret");
    dir.makeFolder("d");
    ASSERT_EQ(symlink("../outside", (dir.path() / "d/link").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (dir.path() / "dangling").c_str()), 0);
    dir.write("taken", "old");
    struct Case {
        const char* from;
        const char* to;
        bool overwrite;
        const char* target;  // of the link made
    };
    const Case cases[] = {
        {"d/link", "d/copy", false, "../outside"},
        {"dangling", "dangling2", false, "nowhere"},
        {"d/link", "taken", true, "../outside"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(copyFile(at(c.from), at(c.to), c.overwrite)) << c.from;
        EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / c.to)) << c.to;
        EXPECT_EQ(std::filesystem::read_symlink(dir.path() / c.to), c.target) << c.to;
    }
    auto refused = copyFile(at("d/link"), at("d/copy"), false);
    ASSERT_FALSE(refused);
    EXPECT_TRUE(isAlreadyExists(refused.error()));
    // Nothing is left beside the targets.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "d"), {}), 2);
}

TEST_F(Fs, AtomicWriteGoesThroughTheUsersLink) {
    dir.write("real/settings.ini", "old");
    ASSERT_EQ(symlink("real/settings.ini", (dir.path() / "hop").c_str()), 0);
    ASSERT_EQ(symlink("hop", (dir.path() / "link").c_str()), 0);
    ASSERT_TRUE(writeFileAtomic(at("link"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link"));
    EXPECT_EQ(dir.read("real/settings.ini"), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "real"), {}), 1);

    ASSERT_EQ(symlink("loop", (dir.path() / "loop").c_str()), 0);
    EXPECT_FALSE(writeFileAtomic(at("loop"), "x"));
}

TEST_F(Fs, ALinkOfAnotherUserIsReplacedNotFollowed) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a link to another user";
    dir.write("mine", "keep");
    ASSERT_EQ(symlink("mine", (dir.path() / "planted").c_str()), 0);
    ASSERT_EQ(lchown((dir.path() / "planted").c_str(), 65534, 65534), 0);
    ASSERT_TRUE(writeFileAtomic(at("planted"), "new"));
    EXPECT_EQ(dir.read("mine"), "keep");
    EXPECT_FALSE(std::filesystem::is_symlink(dir.path() / "planted"));
}

TEST_F(Fs, TrustedFilesAreTheUsersAndWritableByNoOneElse) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path&)> make;  // given the path to check
        bool trusted;
        bool needsRoot = false;
    };
    auto file = [](mode_t mode) {
        return [mode](const std::filesystem::path& p) {
            std::ofstream(p) << "x";
            chmod(p.c_str(), mode);
        };
    };
    const Case cases[] = {
        {"missing", [](const auto&) {}, true},
        {"own file", file(0644), true},
        {"own read-only file", file(0400), true},
        {"group can write", file(0664), false},
        {"others can write", file(0606), false},
        {"own link to own file",
         [&](const auto& p) {
             file(0600)(p.string() + ".real");
             std::filesystem::create_symlink(p.filename().string() + ".real", p);
         },
         true},
        {"own link to a file others can write",
         [&](const auto& p) {
             file(0666)(p.string() + ".real");
             std::filesystem::create_symlink(p.filename().string() + ".real", p);
         },
         false},
        {"another user's file",
         [&](const auto& p) {
             file(0644)(p);
             (void)chown(p.c_str(), 65534, 65534);
         },
         false, true},
        {"another user's link to own file",
         [&](const auto& p) {
             file(0600)(p.string() + ".real");
             std::filesystem::create_symlink(p.filename().string() + ".real", p);
             (void)lchown(p.c_str(), 65534, 65534);
         },
         false, true},
    };
    for (const auto& c : cases) {
        if (c.needsRoot && geteuid() != 0)
            continue;
        testing::TempDir own;
        c.make(own.path() / "file");
        const auto trusted = isTrustedFile(own.folder() + u"file");
        EXPECT_EQ(trusted.ok(), c.trusted) << c.what;
        if (!trusted) {
            EXPECT_NE(trusted.error().find(own.folder() + u"file"), std::u16string::npos) << c.what;
        }
    }
}

TEST_F(Fs, SameFileThroughAnySpelling) {
    dir.write("a", "A");
    dir.write("b", "A");
    dir.makeFolder("d");
    ASSERT_EQ(link((dir.path() / "a").c_str(), (dir.path() / "hard").c_str()), 0);
    ASSERT_EQ(symlink("a", (dir.path() / "soft").c_str()), 0);
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const Case cases[] = {
        {"a", "a", true},        {"a", "./a", true},
        {"a", "d/../a", true},   {"a", "hard", true},
        {"a", "b", false},       {"a", "soft", false},
        {"a", "missing", false}, {"missing", "missing", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isSameFile(at(c.a), at(c.b)), c.same) << c.a << " " << c.b;
}

}  // namespace
}  // namespace soramine::platform
