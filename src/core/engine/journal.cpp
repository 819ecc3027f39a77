#include "core/engine/journal.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <iterator>
#include <random>

#include <unordered_map>

#include "core/engine/session_access.h"
#include "core/items/import.h"
#include "core/platform/clock.h"
#include "core/platform/fs.h"
#include "core/platform/process.h"
#include "core/text/strings.h"
#include "core/text/utf.h"

namespace soramine {
namespace {

constexpr std::string_view kHeader = "soramine-cli undo journal 2\n";
constexpr std::u16string_view kSuffix = u".journal";
constexpr std::u16string_view kMethodMark = u"-m";
constexpr std::size_t kHeadBytes = 64 * 1024;

// The folder part of a path, with its separator; empty for a path without one.
std::u16string_view folderOf(std::u16string_view path) {
    const auto slash = path.rfind(platform::kSeparator);
    return slash == std::u16string_view::npos ? std::u16string_view() : path.substr(0, slash + 1);
}

// A decimal number followed by `end`, read from the front of `in`.
template <class Number>
std::optional<Number> takeNumber(std::string_view& in, char end) {
    Number value = 0;
    const auto [p, ec] = std::from_chars(in.data(), in.data() + in.size(), value);
    if (ec != std::errc() || p == in.data() || p == in.data() + in.size() || *p != end)
        return std::nullopt;
    in.remove_prefix(static_cast<std::size_t>(p - in.data()) + 1);
    return value;
}

// `size` bytes followed by a line feed, read from the front of `in`.
std::optional<std::string_view> takeBytes(std::string_view& in, std::size_t size) {
    if (in.size() <= size || in[size] != '\n')
        return std::nullopt;
    const std::string_view bytes = in.substr(0, size);
    in.remove_prefix(size + 1);
    return bytes;
}

std::optional<JournalEntry> takeIntent(std::string_view& in) {
    const auto fromSize = takeNumber<std::size_t>(in, ' ');
    const auto toSize = fromSize ? takeNumber<std::size_t>(in, '\n') : std::nullopt;
    if (!toSize || *fromSize > in.size() || *toSize > in.size() - *fromSize)
        return std::nullopt;
    const auto both = takeBytes(in, *fromSize + *toSize);
    if (!both)
        return std::nullopt;
    JournalEntry entry{text::fromUtf8(both->substr(0, *fromSize)),
                       text::fromUtf8(both->substr(*fromSize)), false};
    // A run renames an item inside its folder: anything else is not an entry of ours.
    const auto folder = folderOf(entry.from);
    if (folder.empty() || folder.front() != platform::kSeparator || folder != folderOf(entry.to) ||
        entry.from.size() == folder.size() || entry.to.size() == folder.size())
        return std::nullopt;
    return entry;
}

std::string lengthPrefixed(char kind, std::string_view bytes) {
    return std::string(1, kind) + ' ' + std::to_string(bytes.size()) + '\n' + std::string(bytes) +
           '\n';
}

// "run-YYYYMMDD-hhmmss-XXXXXX-mN.journal": sortable by time, unique by its random part, and
// naming the method (its index) that the run used, which the journal itself does not hold.
std::u16string journalName(std::int64_t started, unsigned random, int method) {
    const auto local = platform::toLocalTime(platform::FileTime{started, 0});
    std::u16string name = u"run-";
    if (local) {
        name += text::decimal(local->year * 10000LL + local->month * 100 + local->day) + u"-";
        name += text::decimal(1000000LL + local->hour * 10000 + local->minute * 100 + local->second)
                    .substr(1);
    } else {
        name += text::decimal(started);
    }
    name += u"-" + text::decimal(1000000LL + random % 1000000).substr(1);
    if (method >= 0)
        name += std::u16string(kMethodMark) + text::decimal(method);
    return name + std::u16string(kSuffix);
}

// The method index a journal's name gives, or -1 (a journal named before names held it).
int methodInName(std::u16string_view name) {
    name.remove_suffix(kSuffix.size());
    const auto mark = name.rfind(kMethodMark);
    if (mark == std::u16string_view::npos)
        return -1;
    const std::string digits = text::toUtf8(name.substr(mark + kMethodMark.size()));
    int method = -1;
    const auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), method);
    return ec == std::errc() && p == digits.data() + digits.size() ? method : -1;
}

}  // namespace

std::u16string journalFolder() {
    return platform::settingsFolder() + u"undo" + platform::kSeparator;
}

std::string journalHeader(platform::FileTime started, std::u16string_view folder) {
    return std::string(kHeader) + "T " + std::to_string(started.seconds) + ' ' +
           std::to_string(started.nanoseconds) + '\n' + lengthPrefixed('F', text::toUtf8(folder));
}

namespace {

void appendIntent(std::string& out, std::u16string_view from, std::u16string_view to) {
    // The paths are encoded first, at the end of `out`, and the line giving their lengths is
    // put in front of them.
    const std::size_t start = out.size();
    out.resize(start + (from.size() + to.size()) * text::kMaxUtf8PerUnit + 1);
    char* const paths = out.data() + start;
    char* const fromEnd = text::writeUtf8(from, paths);
    char* const toEnd = text::writeUtf8(to, fromEnd);
    *toEnd = '\n';
    const std::size_t pathBytes = static_cast<std::size_t>(toEnd - paths) + 1;
    // "R ", two numbers of at most 20 digits, a space and the line break.
    char line[48] = "R ";
    const auto number = [](char* at, std::ptrdiff_t value) {
        return std::to_chars(at, at + 20, value).ptr;
    };
    char* p = number(line + 2, fromEnd - paths);
    *p++ = ' ';
    p = number(p, toEnd - fromEnd);
    *p++ = '\n';
    const std::size_t lineBytes = static_cast<std::size_t>(p - line);
    std::memmove(paths + lineBytes, paths, pathBytes);
    std::memcpy(paths, line, lineBytes);
    out.resize(start + lineBytes + pathBytes);
}

}  // namespace

std::string journalUndone(std::size_t entry) {
    return "U " + std::to_string(entry) + '\n';
}

std::string journalIntent(std::u16string_view from, std::u16string_view to) {
    std::string out;
    appendIntent(out, from, to);
    return out;
}

std::optional<Journal> parseJournal(std::string_view bytes, std::size_t entryLimit) {
    const std::string_view whole = bytes;
    if (bytes.substr(0, kHeader.size()) != kHeader)
        return std::nullopt;
    bytes.remove_prefix(kHeader.size());
    Journal journal;
    if (bytes.substr(0, 2) != "T ")
        return std::nullopt;
    bytes.remove_prefix(2);
    const auto seconds = takeNumber<std::int64_t>(bytes, ' ');
    const auto nanoseconds = seconds ? takeNumber<std::uint32_t>(bytes, '\n') : std::nullopt;
    if (!nanoseconds || bytes.substr(0, 2) != "F ")
        return std::nullopt;
    bytes.remove_prefix(2);
    const auto folderSize = takeNumber<std::size_t>(bytes, '\n');
    const auto folder = folderSize ? takeBytes(bytes, *folderSize) : std::nullopt;
    if (!folder)
        return std::nullopt;
    journal.started = platform::FileTime{*seconds, *nanoseconds};
    journal.folder = text::fromUtf8(*folder);

    auto& entries = journal.entries;
    bool undoing = false;  // an undo's records come after the run's
    journal.length = whole.size() - bytes.size();
    while (!bytes.empty()) {
        if (bytes.substr(0, 2) == "U ") {
            std::string_view rest = bytes.substr(2);
            const auto entry = takeNumber<std::size_t>(rest, '\n');
            if (!entry || *entry >= entries.size())
                break;
            entries[*entry].undone = true;
            undoing = true;
            bytes = rest;
        } else if (undoing) {
            break;
        } else if (bytes.substr(0, 2) == kJournalDone) {
            if (entries.empty())
                break;
            entries.back().done = true;
            bytes.remove_prefix(2);
        } else {
            if (bytes.substr(0, 2) != "R ")
                break;
            bytes.remove_prefix(2);
            auto entry = takeIntent(bytes);
            if (!entry)
                break;
            // A later "[n]" form of the same item replaces the form tried before.
            if (!entries.empty() && entries.back().from == entry->from && !entries.back().done)
                entries.back() = std::move(*entry);
            else if (entries.size() == entryLimit)
                break;
            else
                entries.push_back(std::move(*entry));
        }
        journal.length = whole.size() - bytes.size();
    }
    return journal;
}

std::optional<Journal> readJournal(std::u16string_view path) {
    auto bytes = platform::readFile(path);
    return bytes ? parseJournal(*bytes) : std::nullopt;
}

std::optional<std::u16string> JournalWriter::start(std::u16string_view folder, int method) {
    stopSyncing();
    file_.reset();
    syncFailed_ = false;
    const std::u16string dir = journalFolder();
    if (auto made = platform::makePrivateFolder(dir);
        !made && !platform::isAlreadyExists(made.error()))
        return platform::systemErrorText(made.error()) + u" - " + dir;
    const platform::FileTime started = platform::now();
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        path_ = dir + journalName(started.seconds, random(), method);
        auto file = platform::LockedFile::create(path_);
        if (!file && platform::isAlreadyExists(file.error()))
            continue;
        if (!file)
            return platform::systemErrorText(file.error()) + u" - " + path_;
        file_.emplace(std::move(*file));
        if (!write(journalHeader(started, folder)))
            return u"元に戻す記録を書き込めません: " + path_;
        // The run's thread only appends; this one flushes. They share the file's descriptor,
        // which neither changes until the run's writes end; after the last flush this thread
        // closes the file, and the run's thread no longer touches it.
        stopping_ = false;
        flushAtStop_ = false;
        syncer_ = std::thread([this] {
            std::unique_lock lock(mutex_);
            while (!wake_.wait_for(lock, kSyncInterval, [this] { return stopping_; })) {
                lock.unlock();
                if (!file_->sync())
                    syncFailed_ = true;
                lock.lock();
            }
            if (flushAtStop_) {
                lock.unlock();
                if (!file_->sync())
                    syncFailed_ = true;
                file_.reset();
            }
        });
        return std::nullopt;
    }
    return u"元に戻す記録を作れません: " + dir;
}

bool JournalWriter::write(std::string_view bytes) {
    return file_ && !syncFailed_ && file_->append(bytes);
}

void JournalWriter::stopSyncing() {
    if (!syncer_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    syncer_.join();
}

bool JournalWriter::intend(std::u16string_view from, std::u16string_view to) {
    record_.clear();
    appendIntent(record_, from, to);
    return write(record_);
}

void JournalWriter::finishInBackground() {
    if (!syncer_.joinable())
        return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        flushAtStop_ = true;
    }
    wake_.notify_one();
}

bool JournalWriter::close() {
    stopSyncing();
    file_.reset();
    return !syncFailed_.exchange(false);
}

void JournalWriter::discard() {
    {
        // A last flush not yet begun is not needed for a file about to be removed.
        std::lock_guard lock(mutex_);
        flushAtStop_ = false;
    }
    stopSyncing();
    file_.reset();
    syncFailed_ = false;  // what it failed to write no longer matters
    // Ignored: a journal left behind holds only renames that were never made, and the next
    // undo finds each of its entries settled on the disk.
    (void)platform::removeFile(path_);
}

void JournallingObserver::end() {
    shown_.end();
    if (lastFlush_ == LastFlush::kInBackground)
        journal_.finishInBackground();
    else if (!journal_.finish())
        failed_ = true;
}

bool JournallingObserver::renaming(std::size_t, std::u16string_view from, std::u16string_view to) {
    if (!failed_ && !journal_.intend(from, to))
        failed_ = true;
    return !failed_;
}

void JournallingObserver::renamed(std::size_t, std::u16string_view, std::u16string_view) {
    if (!failed_ && !journal_.done())
        failed_ = true;
}

namespace {

// The folder a run is listed under: the deepest folder that holds all its items, which is
// the imported folder or one of its subfolders, and where files given on the command line or
// dropped from elsewhere really are (the folder box may show any folder then).
std::u16string runFolder(const RenameSession& session) {
    const ItemTable& items = session.items();
    if (items.count() == 0)
        return withTrailingSeparator(session.folderBox.text);
    std::u16string folder = items.folder(0);
    for (std::size_t row = 1; row < items.count() && !folder.empty(); ++row) {
        const std::u16string& other = items.folder(row);
        const auto differ = std::mismatch(folder.begin(), folder.end(), other.begin(), other.end());
        folder.erase(differ.first, folder.end());
        folder.resize(folderOf(folder).size());
    }
    return folder;
}

}  // namespace

std::optional<Message> startJournal(JournalWriter& journal, const RenameSession& session) {
    if (auto problem = journal.start(runFolder(session), session.settings.methodIndex))
        return errorMessage(u"元に戻す記録を書き込めません: " + *problem);
    return std::nullopt;
}

void endJournal(JournalWriter& journal, RenameSession& session) {
    if (journal.path().empty())
        return;
    if (!session.canUndo())
        journal.discard();
    else
        SessionAccess::undo(session).journal = journal.path();
}

UndoRecord pendingRenames(const Journal& journal, const ItemTable& items) {
    std::unordered_map<std::u16string, std::size_t> rowOf;
    rowOf.reserve(items.count());
    for (std::size_t row = 0; row < items.count(); ++row)
        rowOf.emplace(items.path(row), row);
    UndoRecord record;
    for (const JournalEntry& e : journal.entries) {
        // An entry the journal saw succeed goes to the undo, which finds an item already back
        // by itself; one it did not see succeed was renamed only if its old name is gone.
        if (e.undone || (!e.done && platform::exists(e.from)))
            continue;
        record.entries.push_back(static_cast<std::size_t>(&e - journal.entries.data()));
        record.oldPaths.push_back(e.from);
        record.newPaths.push_back(e.to);
        record.renamed.push_back(true);
    }
    // From the last entry back, each row is followed to the path its item had before: an item
    // renamed twice (parked by a run with swaps) has its row on both entries.
    record.rows.resize(record.oldPaths.size(), items.count());
    for (std::size_t k = record.oldPaths.size(); k-- > 0;) {
        const auto row = rowOf.find(record.newPaths[k]);
        if (row == rowOf.end())
            continue;
        record.rows[k] = row->second;
        rowOf.erase(row);
        rowOf.insert_or_assign(record.oldPaths[k], record.rows[k]);
    }
    record.enabled = true;
    return record;
}

void settleJournal(std::u16string_view path) {
    const auto bytes = platform::readFile(path);
    if (!bytes)
        return;
    const auto end = bytes->find_last_not_of('\0');
    if (end != std::string::npos && end + 1 < bytes->size())
        (void)platform::truncateFile(path, end + 1);
}

namespace {

// Each item of a run followed through its renames (a swap parks one item under a temporary
// name first): the path it had and the path the run left it at.
struct RunItemPaths {
    std::vector<std::u16string> origins, places;
    std::unordered_map<std::u16string, std::size_t> itemAt;  // a path the run left taken
};

RunItemPaths followItems(const Journal& journal, bool withUndone) {
    RunItemPaths items;
    for (const JournalEntry& e : journal.entries) {
        if ((e.undone && !withUndone) || e.from == e.to)
            continue;
        std::size_t item = items.origins.size();
        if (const auto it = items.itemAt.find(e.from); it != items.itemAt.end()) {
            item = it->second;
            items.itemAt.erase(it);
        } else {
            items.origins.push_back(e.from);
            items.places.emplace_back();
        }
        items.places[item] = e.to;
        items.itemAt[e.to] = item;
    }
    return items;
}

}  // namespace

std::size_t renamedItems(const Journal& journal) {
    return followItems(journal, true).origins.size();
}

std::size_t undoableItems(const Journal& journal) {
    // Renames an undo already reversed are left out.
    const RunItemPaths items = followItems(journal, false);
    // An item can go back while it is where the run left it and its old name is free or held
    // by another item of the run (which the same undo moves away first).
    std::size_t count = 0;
    for (std::size_t i = 0; i < items.origins.size(); ++i) {
        count += items.places[i] != items.origins[i] && platform::exists(items.places[i]) &&
                 (items.itemAt.contains(items.origins[i]) || !platform::exists(items.origins[i]));
    }
    return count;
}

std::vector<JournalInfo> listJournals() {
    std::vector<JournalInfo> out;
    const std::u16string dir = journalFolder();
    // Journals that another user could have planted or changed are never read: undo would
    // rename what they name.
    if (!platform::isTrustedFile(dir))
        return out;
    std::vector<std::u16string> names;
    // A folder that is missing or cannot be listed holds no journal to undo.
    (void)platform::listFolder(dir, [&](platform::EntryInfo& e) {
        if (!e.isFolder && e.name.ends_with(kSuffix))
            names.push_back(std::move(e.name));
    });
    for (const auto& name : names) {
        const std::u16string path = dir + name;
        if (platform::isLockedByAnother(path) || !platform::isTrustedFile(path))
            continue;
        // The header and the first entry fit in the head: a path is at most a few kilobytes.
        std::string head;
        const bool read = platform::readFileChunks(path, kHeadBytes, [&](std::string_view piece) {
                              head.append(piece);
                              return false;
                          }).ok();
        auto journal = read ? parseJournal(head, 1) : std::nullopt;
        if (journal && !journal->entries.empty()) {
            // A journal ends with the line feed of its last record, unless its run was killed
            // (or the system went down) before the journal was closed.
            const auto last = platform::readFileEnd(path, 1);
            const bool unfinished = last && *last != "\n";
            out.push_back({path, std::move(*journal), methodInName(name), unfinished});
        } else if (read)  // a run killed before its first rename: nothing to undo
            (void)platform::removeFile(path);
    }
    std::sort(out.begin(), out.end(), [](const JournalInfo& a, const JournalInfo& b) {
        return a.journal.started != b.journal.started ? a.journal.started > b.journal.started
                                                      : a.path > b.path;
    });
    return out;
}

}  // namespace soramine
