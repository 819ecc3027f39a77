#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/base/message.h"
#include "core/engine/run.h"
#include "core/platform/locked_file.h"

namespace soramine {

// The undo journals of the executions (the window's and soramine-cli's): one file per run in
// the settings folder's "undo" folder, written while the run goes, so that a later undo can
// reverse the run exactly, also when the run (or an earlier undo) was interrupted or the
// process killed.
//
// A journal is UTF-8 text, one record after another:
//   soramine-cli undo journal 2\n          the header
//   T <seconds since 1970> <nanoseconds>\n when the run started
//   F <bytes>\n<folder>\n                  the folder the run imported
//   R <bytes of from> <bytes of to>\n<from><to>\n
//                                          the run is about to rename `from` to `to` (full
//                                          paths); written before the rename is tried
//   D\n                                    the rename of the entry before succeeded
//   U <entry>\n                            an undo gave entry number <entry> (from 0, in the
//                                          order read) its old path back; these follow the
//                                          run's records
// Lengths make any character possible in a path (tabs and line feeds included). An item may
// have several R entries (one per "[n]" form tried); its last one is the one that counts.
// The run holds the file's lock while it writes, so that an undo leaves a running run alone. A
// run that was killed leaves zero bytes after its last record (space reserved ahead).

// The folder of the journals: settingsFolder() + "undo/".
std::u16string journalFolder();

// One rename of a run: the item's paths before and after, and whether the journal saw the
// rename succeed.
struct JournalEntry {
    std::u16string from;
    std::u16string to;
    bool done = false;
    bool undone = false;  // an undo saw the rename reversed
    friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

struct Journal {
    platform::FileTime started;
    std::u16string folder;
    // One entry per item, in the order of their last R entries.
    std::vector<JournalEntry> entries;
    std::size_t length = 0;  // the bytes of the complete records read: where an undo appends
};

std::string journalHeader(platform::FileTime started, std::u16string_view folder);
std::string journalIntent(std::u16string_view from, std::u16string_view to);
std::string journalUndone(std::size_t entry);
inline constexpr std::string_view kJournalDone = "D\n";

// The journal in `bytes`; nothing when they are not a journal. Reading stops at the first
// record that is cut short or damaged (what a crash in the middle of an append leaves), at
// an entry that would move an item out of its folder, and after `entryLimit` entries.
std::optional<Journal> parseJournal(std::string_view bytes,
                                    std::size_t entryLimit = static_cast<std::size_t>(-1));
// The whole journal at `path`; nothing when it cannot be read or is not a journal.
std::optional<Journal> readJournal(std::u16string_view path);

// Writes the journal of one run. While the run writes it, a thread of its own puts it on the
// disk every kSyncInterval, so that a power cut loses at most that much of it and the run
// itself never waits for the disk; at the end that thread also does the last flush, which
// the caller may leave to it (finishInBackground) and wait for later (close).
class JournalWriter {
  public:
    static constexpr std::chrono::milliseconds kSyncInterval{100};

    JournalWriter() = default;
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;
    ~JournalWriter() { stopSyncing(); }

    // Creates a new journal for a run of `folder` with the method of index `method` (-1: none
    // to name); the message when it cannot be written.
    std::optional<std::u16string> start(std::u16string_view folder, int method = -1);
    // Records a rename about to be tried; false when the journal could not be written.
    bool intend(std::u16string_view from, std::u16string_view to);
    // Records that the rename last intended succeeded; false when the journal could not be
    // written.
    bool done() { return write(kJournalDone); }
    // Waits until everything is on the disk and closes the journal; false when some of it
    // could not be written.
    bool finish() {
        finishInBackground();
        return close();
    }
    // Ends the run's writes: the syncer thread puts the rest on the disk and closes the
    // journal, releasing its lock, while the caller goes on.
    void finishInBackground();
    // Waits until the journal is closed (at once when there is none). False, once, when some
    // of what was written did not reach the disk.
    bool close();
    // Removes the journal (a run that renamed nothing leaves nothing to undo).
    void discard();

    const std::u16string& path() const { return path_; }

  private:
    bool write(std::string_view bytes);
    void stopSyncing();

    std::u16string path_;
    std::optional<platform::LockedFile> file_;
    std::string record_;  // reused for each record, so that a run does not allocate per item
    std::thread syncer_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;                 // under mutex_
    bool flushAtStop_ = false;              // under mutex_: the syncer's last flush, then close
    std::atomic<bool> syncFailed_ = false;  // a flush failed: the run must stop
};

// Shows an execution through `shown` and writes each rename to the journal before it is tried.
// When the journal cannot be written, that rename is not tried and the run stops, so that
// nothing is renamed that could not be undone.
class JournallingObserver final : public RunObserver {
  public:
    // At the run's end: wait for the journal's last flush, or leave it to the journal's own
    // thread (a window shows the result meanwhile and closes the journal before its next use).
    enum class LastFlush { kWait, kInBackground };

    JournallingObserver(JournalWriter& journal, RunObserver& shown,
                        LastFlush lastFlush = LastFlush::kWait)
        : journal_(journal), shown_(shown), lastFlush_(lastFlush) {}

    void begin(std::size_t steps) override { shown_.begin(steps); }
    void step() override { shown_.step(); }
    bool cancelled() override { return failed_ || shown_.cancelled(); }
    void advance(std::size_t steps) override { shown_.advance(steps); }
    void end() override;
    bool renaming(std::size_t k, std::u16string_view from, std::u16string_view to) override;
    void renamed(std::size_t k, std::u16string_view from, std::u16string_view to) override;

    // Whether the journal could not be written (the run stopped there).
    bool failed() const { return failed_; }

  private:
    JournalWriter& journal_;
    RunObserver& shown_;
    LastFlush lastFlush_;
    bool failed_ = false;
};

// Starts the journal of an execution whose item loop is about to run (its plan is runnable),
// for the folder in the session's folder box. The message when it cannot be written: the loop
// must not run then.
std::optional<Message> startJournal(JournalWriter& journal, const RenameSession& session);
// After finishExecution of a journalled run: removes the journal when the run left nothing to
// undo, and otherwise ties the session's undo record to it, so that undoLastRun undoes
// through the journal.
void endJournal(JournalWriter& journal, RenameSession& session);

// The entries of `journal` that may still need their rename undone, as an undo record; each
// gets the row of `items` that shows its item under its new name (none: a row past the end),
// and its entry number in the journal.
UndoRecord pendingRenames(const Journal& journal, const ItemTable& items);

// A journal that can be undone: its path, and its header with no more than its first entry
// (the rest is read when the run is undone or counted).
struct JournalInfo {
    std::u16string path;
    Journal journal;
    int method = -1;          // the run's method index; -1 when the journal does not name it
    bool unfinished = false;  // the run was killed (or the system went down) while it ran
};

// Closes the journal of a run that did not finish (cuts what its end left unwritten), so that
// it is no longer taken for one: it stays for a later undo.
void settleJournal(std::u16string_view path);

// The items a journal's undo would still give back, as the disk is now: each where the run
// left it, its old name free or held by another item of the run. An item counts once however
// many renames took it there (a swap parks one item under a temporary name first).
std::size_t undoableItems(const Journal& journal);
// The items the run renamed, undone or not, each counted once however many renames it took.
std::size_t renamedItems(const Journal& journal);

// The journals of runs that are over (not locked by a running process), newest first;
// unreadable or foreign files are left out. Only the head of each file is read, so that
// journals kept from many earlier runs do not slow down an undo of the last one.
std::vector<JournalInfo> listJournals();

}  // namespace soramine
