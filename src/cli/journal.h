#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace soramine::cli {

// The undo record of the CLI's last run, kept in a file so that a later `undo` can reverse
// it, also when the run was interrupted or the process killed. The file starts with a header
// line; each renamed item then appends one entry. An entry is "R", the byte lengths of the
// two paths, a line feed, the two paths in UTF-8 and a line feed, so that a path may hold
// any character (tabs and line feeds included).
//
// An entry is written right after its rename: a process killed between the two leaves that
// one item out of the journal. Every entry reaches the system at once; it is made to wait
// for the disk at most every kSyncInterval (and at the end), because waiting for the disk
// after every item would make a large run many times slower, while what a crash of the
// whole system loses is bounded by that interval.

// settingsFolder() + "cli-undo.journal".
std::u16string undoJournalPath();

struct JournalEntry {
    std::u16string from;  // the full path before the run
    std::u16string to;    // the full path the item got
    friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

std::string journalHeader();
std::string journalEntry(std::u16string_view from, std::u16string_view to);

// The entries of a journal's bytes, in the order of the run; nothing when the bytes are not a
// journal. Reading stops at the first entry that is cut short or damaged (what a crash in
// the middle of an append leaves) and at an entry that would move an item out of its folder.
std::optional<std::vector<JournalEntry>> parseJournal(std::string_view bytes);

// Writes the journal of one run.
class JournalWriter {
  public:
    static constexpr std::chrono::milliseconds kSyncInterval{100};

    explicit JournalWriter(std::u16string path) : path_(std::move(path)) {}

    // Replaces the previous journal with an empty one; false when it cannot be written.
    bool start();
    // Appends one renamed item; false when it could not be written.
    bool add(std::u16string_view from, std::u16string_view to);
    // Waits until every entry is on the disk; false when that failed.
    bool finish();
    // Removes the journal (a run that renamed nothing leaves nothing to undo).
    void discard();

    const std::u16string& path() const { return path_; }

  private:
    std::u16string path_;
    std::chrono::steady_clock::time_point lastSync_{};
};

}  // namespace soramine::cli
