#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/base/message.h"
#include "core/engine/run.h"
#include "core/platform/locked_file.h"

namespace soramine {

// What an undo did.
struct UndoResult {
    std::optional<Message> message;        // why the undo could not start
    std::size_t failures = 0;              // items that kept their new name (logged)
    bool cancelled = false;                // the loop stopped before the first item
    std::vector<std::size_t> changedRows;  // rows that got their former name back
};

// An undo between its phases.
struct UndoJob {
    UndoRecord record;
    RunLease lease;
    ErrorLog log;
    std::vector<bool> back;  // item k got its former name
    std::size_t undone = 0;  // entries the loop got through, from the last one
    std::size_t failures = 0;
    std::optional<Message> message;  // why the undo could not start
    // The journal being undone, held so that no other undo works on it at the same time.
    std::u16string journalPath;
    std::optional<platform::LockedFile> journal;
};

// Gives the items of the last execution their former names again, last item first, so that
// chains of names come apart in the right order. Only items the execution really renamed are
// renamed back, never onto an existing file: an old name taken again is logged as
// "同名ファイルが存在します - " + old path, any other failure with the system's text and the
// path; the item keeps its name. The log is cleared first and ends with "元に戻しました。";
// the record is emptied, also after a cancel. Does nothing when the record is empty.
//
// In three phases like a run: startUndo (takes the record, on the caller's thread), undoItems
// (the loop, safe on a worker thread) and finishUndo (renames the rows back and fills the
// log, on the caller's thread). undoLastRun chains them.
//
// A record tied to a journal (engine/journal.h) is undone through it, as startJournalUndo.
UndoJob startUndo(RenameSession& session);
// The undo of the run the journal at `path` recorded (the last run's, or any earlier one's):
// the journal is held while the undo works, each entry is checked on disk (pendingRenames),
// and the rows that show an item under its new name get the former name back. finishUndo
// removes the journal when every item is back, and keeps it otherwise, so that a later undo
// continues with the rest.
UndoJob startJournalUndo(RenameSession& session, std::u16string path);
void undoItems(UndoJob& job, RunObserver& progress);
UndoResult finishUndo(RenameSession& session, UndoJob&& job);
UndoResult undoLastRun(RenameSession& session, RunObserver& progress);

}  // namespace soramine
