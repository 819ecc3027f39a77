#include "cli/journal.h"

#include <charconv>

#include "core/platform/fs.h"
#include "core/platform/process.h"
#include "core/text/utf.h"

namespace soramine::cli {
namespace {

constexpr std::string_view kHeader = "soramine-cli undo journal 1\n";

// The folder part of a path, with its separator; empty for a path without one.
std::u16string_view folderOf(std::u16string_view path) {
    const auto slash = path.rfind(platform::kSeparator);
    return slash == std::u16string_view::npos ? std::u16string_view() : path.substr(0, slash + 1);
}

// A decimal length followed by `end`, read from the front of `in`.
std::optional<std::size_t> takeLength(std::string_view& in, char end) {
    std::size_t value = 0;
    const auto [p, ec] = std::from_chars(in.data(), in.data() + in.size(), value);
    if (ec != std::errc() || p == in.data() || p == in.data() + in.size() || *p != end)
        return std::nullopt;
    in.remove_prefix(static_cast<std::size_t>(p - in.data()) + 1);
    return value;
}

std::optional<JournalEntry> takeEntry(std::string_view& in) {
    if (in.substr(0, 2) != "R ")
        return std::nullopt;
    in.remove_prefix(2);
    const auto fromSize = takeLength(in, ' ');
    const auto toSize = fromSize ? takeLength(in, '\n') : std::nullopt;
    if (!toSize || in.size() <= *fromSize || in.size() - *fromSize - 1 < *toSize ||
        in[*fromSize + *toSize] != '\n')
        return std::nullopt;
    JournalEntry entry{text::fromUtf8(in.substr(0, *fromSize)),
                       text::fromUtf8(in.substr(*fromSize, *toSize))};
    in.remove_prefix(*fromSize + *toSize + 1);
    // A run renames an item inside its folder: anything else is not an entry of ours.
    const auto folder = folderOf(entry.from);
    if (folder.empty() || folder.front() != platform::kSeparator || folder != folderOf(entry.to) ||
        entry.from.size() == folder.size() || entry.to.size() == folder.size())
        return std::nullopt;
    return entry;
}

}  // namespace

std::u16string undoJournalPath() {
    return platform::settingsFolder() + u"cli-undo.journal";
}

std::string journalHeader() {
    return std::string(kHeader);
}

std::string journalEntry(std::u16string_view from, std::u16string_view to) {
    const std::string fromBytes = text::toUtf8(from);
    const std::string toBytes = text::toUtf8(to);
    return "R " + std::to_string(fromBytes.size()) + ' ' + std::to_string(toBytes.size()) + '\n' +
           fromBytes + toBytes + '\n';
}

std::optional<std::vector<JournalEntry>> parseJournal(std::string_view bytes) {
    if (bytes.substr(0, kHeader.size()) != kHeader)
        return std::nullopt;
    bytes.remove_prefix(kHeader.size());
    std::vector<JournalEntry> entries;
    while (auto entry = takeEntry(bytes))
        entries.push_back(std::move(*entry));
    return entries;
}

bool JournalWriter::start() {
    return platform::writeFileAtomic(path_, kHeader).ok();
}

bool JournalWriter::add(std::u16string_view from, std::u16string_view to) {
    const auto now = std::chrono::steady_clock::now();
    const bool sync = now - lastSync_ >= kSyncInterval;
    if (sync)
        lastSync_ = now;
    return platform::appendFile(path_, journalEntry(from, to), sync).ok();
}

bool JournalWriter::finish() {
    return platform::appendFile(path_, {}, true).ok();
}

void JournalWriter::discard() {
    (void)platform::removeFile(path_);
}

}  // namespace soramine::cli
