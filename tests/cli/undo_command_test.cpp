#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "cli/job_fixture.h"
#include "core/engine/journal.h"
#include "core/platform/locked_file.h"
#include "core/text/utf.h"
#include "support/unprivileged.h"

namespace soramine::testing {
namespace {

const std::string kNothingToUndo = "元に戻す操作はありません\n";

// soramine-cli started in the background, its output thrown away.
class Background {
  public:
    // `fileSizeLimit` (bytes, 0 for none) makes writes past it fail as on a full disk.
    Background(const std::vector<std::string>& args, const std::string& config,
               const std::filesystem::path& folder, rlim_t fileSizeLimit = 0) {
        std::vector<std::string> argv{SORAMINE_CLI};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> argp;
        for (auto& a : argv)
            argp.push_back(a.data());
        argp.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ != 0)
            return;
        const int null = ::open("/dev/null", O_WRONLY);
        if (null < 0 || ::dup2(null, 1) < 0 || ::dup2(null, 2) < 0 || ::chdir(folder.c_str()) != 0)
            ::_exit(126);
        ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        if (fileSizeLimit != 0) {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        ::execv(argp[0], argp.data());
        ::_exit(127);
    }
    ~Background() {
        if (pid_ > 0)
            stop(SIGKILL);
    }
    // Sends `signal` (0: none) and waits for the end, at most kCliTimeLimit; the exit status,
    // 128 + a signal's number, -1 when the program did not start or end.
    int stop(int signal) {
        // A failed fork leaves no child; kill(-1) would signal every process.
        if (pid_ <= 0) {
            ADD_FAILURE() << "soramine-cli did not start";
            return -1;
        }
        if (signal != 0)
            ::kill(pid_, signal);
        const int status = waitForExit(pid_);
        pid_ = -1;
        return status;
    }

  private:
    pid_t pid_ = -1;
};

class CliUndo : public CliJobTest {
  protected:
    // Files with these names, holding their names, are all the folder holds.
    void useFiles(std::vector<std::string> names) {
        for (const auto& name : this->names())
            std::filesystem::remove(files.path() / name);
        std::sort(names.begin(), names.end());
        original = std::move(names);
        writeFiles(original);
    }
    // `count` files "a00000.txt"... holding their own names, and a job renaming "a" to "b".
    std::string manyFiles(int count) {
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i)
            names.push_back(numbered("a%05d.txt", i));
        useFiles(std::move(names));
        return makeJob({"--method", "置換", "--set", "変更前=a", "--set", "変更後=b"});
    }
    static std::string numbered(const char* format, int i) {
        char name[64];
        std::snprintf(name, sizeof name, format, i);
        return name;
    }
    // Whether every file has its first name and its content again.
    bool allBack() const {
        if (names() != original)
            return false;
        for (const auto& name : original) {
            if (files.read(name) != name)
                return false;
        }
        return true;
    }
    std::size_t renamedCount() const {
        std::size_t n = 0;
        for (const auto& name : names())
            n += name[0] == 'b';
        return n;
    }
    // Waits until the newest journal holds at least `entries` entries (or a while has passed).
    void waitForEntries(std::size_t entries) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            const auto all = journals();
            if (!all.empty()) {
                std::ifstream in(all.back(), std::ios::binary);
                const std::string bytes(std::istreambuf_iterator<char>(in), {});
                const auto journal = parseJournal(bytes);
                if (journal && journal->entries.size() >= entries)
                    return;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }
    Background start(const std::vector<std::string>& args, rlim_t fileSizeLimit = 0) const {
        return Background(args, config.path().string(), files.path(), fileSizeLimit);
    }

    std::vector<std::string> original;
};

TEST_F(CliUndo, RestoresTheLastRunOnce) {
    writeFiles({"a1.txt", "a2.txt", "c.txt"});
    const std::string job = makeJob({"--method", "置換", "--set", "変更前=a", "--set", "変更後=b"});
    EXPECT_EQ(cli({"undo"}).err, kNothingToUndo);
    ASSERT_EQ(cli({"run", job}).status, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"b1.txt", "b2.txt", "c.txt"}));

    const CliResult undone = cli({"undo"});
    EXPECT_EQ(undone.status, 0) << undone.err;
    EXPECT_EQ(undone.out, "元に戻しました。\n");
    EXPECT_EQ(names(), (std::vector<std::string>{"a1.txt", "a2.txt", "c.txt"}));
    EXPECT_TRUE(journals().empty());

    const CliResult again = cli({"undo"});
    EXPECT_EQ(again.status, 2);
    EXPECT_EQ(again.err, kNothingToUndo);
}

TEST_F(CliUndo, ARunThatRenamedNothingLeavesNothingToUndo) {
    writeFiles({"a.txt", "b.txt"});
    const std::string job = makeJob({"--method", "置換", "--set", "変更前=a", "--set", "変更後=b"});
    EXPECT_EQ(cli({"run", job}).status, 1);
    EXPECT_TRUE(journals().empty());
    EXPECT_EQ(cli({"undo"}).err, kNothingToUndo);
}

TEST_F(CliUndo, ReportsItemsThatCannotGoBackAndKeepsThemForTheNextUndo) {
    writeFiles({"a1.txt", "a2.txt", "a3.txt"});
    const std::string job = makeJob({"--method", "置換", "--set", "変更前=a", "--set", "変更後=b"});
    ASSERT_EQ(cli({"run", job}).status, 0);
    files.write("a1.txt", "a new file under the old name");
    std::filesystem::rename(files.path() / "b2.txt", files.path() / "elsewhere");

    const CliResult r = cli({"undo"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "指定されたファイルが見つかりません。 - " + folder() +
                         "b2.txt\n同名ファイルが存在します - " + folder() +
                         "a1.txt\n元に戻しました。\n");
    EXPECT_EQ(names(), (std::vector<std::string>{"a1.txt", "a3.txt", "b1.txt", "elsewhere"}));
    EXPECT_EQ(journals().size(), 1u) << "what failed stays recorded";

    // Once the causes are gone, the next undo finishes the rest.
    std::filesystem::remove(files.path() / "a1.txt");
    std::filesystem::rename(files.path() / "elsewhere", files.path() / "b2.txt");
    const CliResult retry = cli({"undo"});
    EXPECT_EQ(retry.status, 0) << retry.out << retry.err;
    EXPECT_EQ(names(), (std::vector<std::string>{"a1.txt", "a2.txt", "a3.txt"}));
    EXPECT_EQ(files.read("a1.txt"), "a1.txt");
    EXPECT_TRUE(journals().empty());
}

TEST_F(CliUndo, AFailedUndoSaysWhyInTheSystemsWords) {
    writeFiles({"a1.txt"});
    runWherePermissionsApply(
        {config.path(), files.path()},
        [&] {
            const std::string job =
                makeJob({"--method", "置換", "--set", "変更前=a", "--set", "変更後=b"});
            ASSERT_EQ(cli({"run", job}).status, 0);
            std::filesystem::permissions(files.path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::remove);
            const CliResult r = cli({"undo"});
            std::filesystem::permissions(files.path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add);
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.out,
                      "アクセスが拒否されました。 - " + folder() + "b1.txt\n元に戻しました。\n");
            EXPECT_EQ(journals().size(), 1u);
            EXPECT_EQ(cli({"undo"}).status, 0);
            EXPECT_EQ(names(), (std::vector<std::string>{"a1.txt"}));
        },
        {SORAMINE_CLI});
}

TEST_F(CliUndo, UndoesAJournalCutShortByACrash) {
    // b → c was renamed, then a → b; the third entry was being written when the process died,
    // and a fourth rename was intended but never done.
    writeFiles({"b", "c", "x"});
    const auto dir = config.path() / "soramine" / "undo";
    std::filesystem::create_directories(dir);
    const std::u16string f = text::fromUtf8(folder());
    const std::string third = journalIntent(f + u"x", f + u"y");
    const std::string bytes = journalHeader({1700000000, 5}, f) +
                              journalIntent(f + u"b", f + u"c") + "D\n" +
                              journalIntent(f + u"a", f + u"b") + third.substr(0, third.size() - 3);
    std::ofstream(dir / "run-1.journal", std::ios::binary) << bytes;
    // Here x is still x: the cut entry is not read, and an entry never done stays as it is.
    const CliResult r = cli({"undo"});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_EQ(r.out, "元に戻しました。\n");
    EXPECT_EQ(names(), (std::vector<std::string>{"a", "b", "x"}));
    EXPECT_EQ(files.read("a"), "b");
    EXPECT_EQ(files.read("b"), "c");
}

TEST_F(CliUndo, RunsKeepTheirOwnRecords) {
    testing::TempDir other;
    other.write("a-other.txt", "o");
    writeFiles({"a-here.txt", "a-two.txt"});
    const std::string here =
        makeJob({"--method", "置換", "--set", "変更前=a", "--set", "変更後=b"}, "here.qrn");
    const std::string there = makeJob({"--method", "置換", "--folder", other.path().string(),
                                       "--set", "変更前=a", "--set", "変更後=c"},
                                      "there.qrn");
    ASSERT_EQ(cli({"run", here}).status, 0);
    ASSERT_EQ(cli({"run", there}).status, 0);
    ASSERT_EQ(journals().size(), 2u);

    const CliResult list = cli({"undo", "--list"});
    EXPECT_EQ(list.status, 0);
    const std::string otherFolder = std::filesystem::canonical(other.path()).string() + "/";
    const auto second = list.out.find("\n2\t");
    ASSERT_NE(second, std::string::npos) << list.out;
    EXPECT_EQ(list.out.substr(0, 2), "1\t");
    EXPECT_NE(list.out.find("\t" + otherFolder + "\t1件\n"), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("\t" + folder() + "\t2件\n", second), std::string::npos) << list.out;

    // A run still writing its journal (its lock held) is not offered.
    {
        auto held = platform::LockedFile::lock(text::fromUtf8(journals().back().string()));
        ASSERT_TRUE(held);
        const CliResult busy = cli({"undo", "--list"});
        EXPECT_EQ(std::count(busy.out.begin(), busy.out.end(), '\n'), 1) << busy.out;
    }
    EXPECT_EQ(cli({"undo", "3"}).status, 2);
    const CliResult older = cli({"undo", "2"});
    EXPECT_EQ(older.status, 0) << older.err;
    EXPECT_EQ(names(), (std::vector<std::string>{"a-here.txt", "a-two.txt"}));
    EXPECT_TRUE(std::filesystem::exists(other.path() / "c-other.txt"));
    EXPECT_EQ(cli({"undo"}).status, 0);
    EXPECT_TRUE(std::filesystem::exists(other.path() / "a-other.txt"));
    EXPECT_TRUE(journals().empty());
}

TEST_F(CliUndo, UndoesARunStoppedByCtrlCOrKilled) {
    for (int signal : {SIGINT, SIGKILL}) {
        const std::string job = manyFiles(4000);
        Background run = start({"run", job});
        waitForEntries(20);
        const int status = run.stop(signal);
        // On a busy machine the run may have ended before the signal came.
        if (status != 0) {
            EXPECT_EQ(status, signal == SIGINT ? 1 : 128 + SIGKILL);
        }
        EXPECT_GT(renamedCount(), 0u) << signal;

        const CliResult undone = cli({"undo"});
        EXPECT_EQ(undone.status, 0) << signal << undone.out << undone.err;
        EXPECT_TRUE(allBack()) << signal;
        EXPECT_TRUE(journals().empty()) << signal;
    }
}

TEST_F(CliUndo, AnInterruptedUndoIsFinishedByTheNext) {
    for (int signal : {SIGINT, SIGKILL}) {
        const std::string job = manyFiles(4000);
        ASSERT_EQ(cli({"run", job}).status, 0);
        Background undo = start({"undo"});
        // Stops the undo once it has given some items their names back.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (renamedCount() == original.size() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        // What an interrupted undo did not finish stays recorded, and the next undo finishes
        // it. An undo that had finished before the signal came (as it may on a busy machine,
        // also while it was still ending) leaves no record and every file back.
        undo.stop(signal);
        if (journals().empty()) {
            EXPECT_TRUE(allBack()) << signal;
        } else {
            const CliResult rest = cli({"undo"});
            EXPECT_EQ(rest.status, 0) << signal << rest.out << rest.err;
        }
        EXPECT_TRUE(allBack()) << signal;
        EXPECT_EQ(cli({"undo"}).err, kNothingToUndo);
    }
}

TEST_F(CliUndo, AJournalThatCannotBeWrittenStopsTheRunBeforeAnUnrecordedRename) {
    const std::string job = manyFiles(300);
    // The disk "fills" after a few kilobytes of journal.
    Background run = start({"run", job}, 4096);
    EXPECT_EQ(run.stop(0), 1);
    EXPECT_GT(renamedCount(), 0u);
    EXPECT_LT(renamedCount(), original.size());
    const CliResult undone = cli({"undo"});
    EXPECT_EQ(undone.status, 0) << undone.out << undone.err;
    EXPECT_TRUE(allBack());
}

// Kills runs and undos at random moments; whatever was done, undo gives every file its name
// (and its content) back: for a plain run, a shift of every file by one and a run of rotations
// (cycles of three, each through a temporary name) with --allow-swaps. SORAMINE_CRASH_FILES and
// SORAMINE_CRASH_TRIALS make it larger.
TEST_F(CliUndo, NothingIsLostWhenRunsAndUndosAreKilledAtRandomMoments) {
    const char* filesEnv = std::getenv("SORAMINE_CRASH_FILES");
    const char* trialsEnv = std::getenv("SORAMINE_CRASH_TRIALS");
    const int count = filesEnv ? std::atoi(filesEnv) : 2000;
    const int trials = trialsEnv ? std::atoi(trialsEnv) : 12;
    std::mt19937 random(20261208);
    const auto moment = [&](auto span) {
        return std::chrono::microseconds(std::uniform_int_distribution<long>(
            0, std::chrono::duration_cast<std::chrono::microseconds>(span).count())(random));
    };
    for (const char* kind : {"plain", "shift", "rotations"}) {
        std::vector<std::string> run{"run"};
        if (kind == std::string("plain")) {
            run.push_back(manyFiles(count));
        } else if (kind == std::string("shift")) {
            std::vector<std::string> names;
            for (int i = 1; i <= count; ++i)
                names.push_back(numbered("%06d.txt", i));
            useFiles(std::move(names));
            run.push_back(makeJob({"--method", "連番", "--set", "変更名=*", "--set", "桁数=5",
                                   "--set", "開始番号=2"}));
            run.push_back("--allow-swaps");
        } else {
            // "aX bX cX" → "bX cX aX" → "cX aX bX" → "aX bX cX", in blocks of six.
            std::vector<std::string> names;
            for (int i = 0; i < count / 3; ++i) {
                const std::string a = numbered("a%05d", i), b = numbered("b%05d", i),
                                  c = numbered("c%05d", i);
                names.insert(names.end(), {a + b + c, b + c + a, c + a + b});
            }
            useFiles(std::move(names));
            run.push_back(makeJob(
                {"--method", "並べ替え", "--set", "区切り=6-6-6", "--set", "並び順=2-3-1"}));
            run.push_back("--allow-swaps");
        }
        // How long a whole run takes here, to pick moments inside it.
        auto t0 = std::chrono::steady_clock::now();
        ASSERT_EQ(cli(run).status, 0) << kind;
        const auto runTime = std::chrono::steady_clock::now() - t0;
        ASSERT_FALSE(allBack()) << kind;
        ASSERT_EQ(cli({"undo"}).status, 0) << kind;
        ASSERT_TRUE(allBack()) << kind;
        for (int trial = 0; trial < trials; ++trial) {
            Background running = start(run);
            std::this_thread::sleep_for(moment(runTime));
            running.stop(SIGKILL);
            if (trial % 3 == 0) {  // some undos are killed too
                Background undo = start({"undo"});
                std::this_thread::sleep_for(moment(runTime));
                undo.stop(SIGKILL);
            }
            for (int attempt = 0; attempt < 3 && !journals().empty(); ++attempt)
                cli({"undo"});
            ASSERT_TRUE(allBack()) << kind << " trial " << trial;
            ASSERT_TRUE(journals().empty()) << kind << " trial " << trial;
        }
    }
}

}  // namespace
}  // namespace soramine::testing
