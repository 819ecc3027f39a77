// soramine-engine-bench [FOLDER]: times the rename engine against bare system-call loops over
// the same names, in a fresh folder under FOLDER (default $TMPDIR or /tmp), and prints one
// line per budget: a preview of 100,000 files against one stat() per new name, a preview of
// the conversion page's adjust mode against the same preview with replace, and the
// execution and the undo of 10,000 renames against renameat2(RENAME_NOREPLACE) loops. Each
// figure is the best of five rounds. Exits 1 when a budget is missed.
//
// soramine-engine-bench --rename FOLDER: replaces "file" by "item" in the names of FOLDER's
// files through the engine, the job bench/engine.sh also gives Debian's rename.

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/app/ini_file.h"
#include "core/engine/execute.h"
#include "core/engine/preview.h"
#include "core/engine/session.h"
#include "core/engine/undo.h"
#include "core/methods/conversion.h"
#include "core/methods/method_list.h"
#include "core/methods/replace.h"
#include "core/platform/fs.h"
#include "core/text/utf.h"

using namespace soramine;

namespace {

constexpr int kPreviewItems = 100000;
constexpr int kRenameItems = 10000;
constexpr int kRounds = 5;

class NoHost final : public Host {
  public:
    std::optional<std::u16string> clipboardText() override { return std::nullopt; }
    std::optional<std::u16string> chooseFolder(std::u16string_view, std::u16string_view) override {
        return std::nullopt;
    }
    bool askYesNo(const Message&) override { return false; }
    void showMessage(const Message&) override {}
};

Row itemRow(std::u16string name, std::u16string folder) {
    Row row;
    row.name = std::move(name);
    row.folder = std::move(folder);
    return row;
}

template <class F>
double seconds(F&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A session that replaces "file" by "item" in the names (extensions left alone), over `rows`.
void setUpReplace(RenameSession& session, ItemTable rows) {
    session.settings.methodIndex = *session.methods.indexOf(u"置換");
    auto& page = static_cast<ReplacePage&>(*session.currentPage());
    page.settings = {0, 1, 1, u"1"};
    page.search.text = u"file";
    page.replacement.text = u"item";
    (void)session.changeItems([&](ItemTable& t) { t.appendTable(std::move(rows)); });
}

std::string numbered(const char* stem, int i) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%06d.txt", stem, i);
    return name;
}

// Creates `count` empty files file000000.txt ... in `folder` and returns their rows.
ItemTable makeFiles(const std::string& folder, int count) {
    std::filesystem::create_directory(folder);
    ItemTable rows;
    rows.reserve(count);
    const std::u16string folder16 = text::fromUtf8(folder + "/");
    for (int i = 0; i < count; ++i) {
        const std::string name = numbered("file", i);
        const int fd = ::open((folder + "/" + name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0) {
            std::perror(name.c_str());
            std::exit(2);
        }
        ::close(fd);
        rows.append(itemRow(text::fromUtf8(name), folder16));
    }
    return rows;
}

// renameat2(RENAME_NOREPLACE) over the folder's files from one stem to the other.
void bareRenames(const std::string& folder, const char* from, const char* to, int count) {
    for (int i = 0; i < count; ++i) {
        const std::string a = folder + "/" + numbered(from, i);
        const std::string b = folder + "/" + numbered(to, i);
        if (::renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_NOREPLACE) != 0) {
            std::perror(a.c_str());
            std::exit(2);
        }
    }
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

bool report(const char* what, int count, double ours, const char* reference, double theirs,
            double budget) {
    const double ratio = ours / theirs;
    const bool pass = ratio <= budget;
    std::printf("%s %d: %.3f s vs %s %.3f s = %.2fx (budget <= %.2fx) %s\n", what, count, ours,
                reference, theirs, ratio, budget, pass ? "PASS" : "FAIL");
    std::fflush(stdout);
    return pass;
}

// The names are read from the folder without asking for each entry's status: the job needs
// only the names, as Debian's rename does (the import's dates and sizes are not part of it).
int renameFolder(const char* folder) {
    ItemTable rows;
    const std::u16string folder16 = text::fromUtf8(std::string(folder) + "/");
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file())
            rows.append(itemRow(text::fromUtf8(entry.path().filename().string()), folder16));
    }
    RenameSession session(IniFile(u"/nonexistent/soramine-bench.ini"), makeMethodTable());
    setUpReplace(session, std::move(rows));
    NoHost host;
    QuietObserver quiet;
    executeRun(session, host, quiet);
    return session.log().text().empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--rename")
        return renameFolder(argv[2]);
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(argc > 1 ? argv[1]
                                      : tmp    ? tmp
                                               : "/tmp") +
                          "/soramine-engine-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror(pattern.c_str());
        return 2;
    }
    const std::string root = pattern;
    NoHost host;
    QuietObserver quiet;
    bool pass = true;

    const std::string previewFolder = root + "/preview";
    const ItemTable previewRows = makeFiles(previewFolder, kPreviewItems);
    {
        const std::string& folder = previewFolder;
        RenameSession session(IniFile(u"/nonexistent/soramine-bench.ini"), makeMethodTable());
        setUpReplace(session, previewRows);
        std::vector<std::string> newPaths;
        for (int i = 0; i < kPreviewItems; ++i)
            newPaths.push_back(folder + "/" + numbered("item", i));

        double ours = 1e9, theirs = 1e9;
        std::size_t shown = 0;
        for (int round = 0; round < kRounds; ++round) {
            ours = std::min(
                ours, seconds([&] { shown = previewRun(session, host, quiet).previewNew.size(); }));
            theirs =
                std::min(theirs, seconds([&] {
                             struct stat st;
                             for (const auto& p : newPaths) {
                                 if (::fstatat(AT_FDCWD, p.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
                                     std::exit(2);  // nothing may exist under a new name
                             }
                         }));
        }
        if (shown != kPreviewItems)
            return 2;
        pass &= report("preview", kPreviewItems, ours, "stat loop", theirs, 2.0);
    }

    {
        // The same names and one longer one, so that the adjust mode gives every other name a
        // new name to look up, as replace does.
        ItemTable rows = previewRows;
        rows.append(
            itemRow(u"file_with_the_longest_name.txt", text::fromUtf8(previewFolder + "/")));
        RenameSession replace(IniFile(u"/nonexistent/soramine-bench.ini"), makeMethodTable());
        setUpReplace(replace, rows);
        RenameSession adjust(IniFile(u"/nonexistent/soramine-bench.ini"), makeMethodTable());
        adjust.settings.methodIndex = *adjust.methods.indexOf(u"その他");
        auto& page = static_cast<ConversionPage&>(*adjust.currentPage());
        page.settings.mode = kPadToLongest;
        (void)adjust.changeItems([&](ItemTable& t) { t.appendTable(std::move(rows)); });

        // Taking turns, median of the rounds.
        std::vector<double> ours, theirs;
        for (int round = 0; round < kRounds; ++round) {
            std::size_t shown = 0;
            ours.push_back(
                seconds([&] { shown = previewRun(adjust, host, quiet).previewNew.size(); }));
            if (shown != kPreviewItems + 1)
                return 2;
            theirs.push_back(seconds([&] { previewRun(replace, host, quiet); }));
        }
        pass &= report("conversion adjust preview", kPreviewItems, median(ours), "replace preview",
                       median(theirs), 2.0);
    }

    {
        const std::string engineFolder = root + "/engine";
        const std::string bareFolder = root + "/bare";
        RenameSession session(IniFile(u"/nonexistent/soramine-bench.ini"), makeMethodTable());
        setUpReplace(session, makeFiles(engineFolder, kRenameItems));
        makeFiles(bareFolder, kRenameItems);
        double execute = 1e9, undo = 1e9, forward = 1e9, backward = 1e9;
        for (int round = 0; round < kRounds; ++round) {
            int processed = 0;
            execute = std::min(
                execute, seconds([&] { processed = executeRun(session, host, quiet).processed; }));
            if (processed != kRenameItems)
                return 2;
            forward = std::min(
                forward, seconds([&] { bareRenames(bareFolder, "file", "item", kRenameItems); }));
            undo = std::min(undo, seconds([&] { undoLastRun(session, quiet); }));
            if (session.log().text() != u"元に戻しました。")
                return 2;
            backward = std::min(
                backward, seconds([&] { bareRenames(bareFolder, "item", "file", kRenameItems); }));
        }
        pass &= report("execute", kRenameItems, execute, "renameat2 loop", forward, 1.25);
        pass &= report("undo", kRenameItems, undo, "renameat2 loop", backward, 1.25);
    }

    std::filesystem::remove_all(root);
    return pass ? 0 : 1;
}
