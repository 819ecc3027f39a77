#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/message.h"
#include "core/engine/run.h"

namespace soramine {

// What an execution asks the front end to show when it is over, in this order: the message
// that stopped it (validation or preparation), then the result dialog ("リネーム終了") with
// the result line and the error log's text.
struct ExecuteResult {
    std::optional<Message> message;
    bool showResult = false;
    // "実行結果　(%d / %d) 処理しました。" with the processed and the participating count;
    // empty when validation failed.
    std::u16string resultLine;
    int processed = 0;                     // the processed count of the result line
    std::size_t failures = 0;              // items whose problem was logged
    bool cancelled = false;                // the loop stopped before the last item
    std::vector<std::size_t> changedRows;  // rows whose name or folder changed
};

// An execution between its phases: the plan and what the loop did to each item.
struct ExecutionJob {
    RunPlan plan;
    NameNumbers numbers;
    NameLengthLimit limit;
    bool backup = false;
    // Item k's full path before the run, and the path it got or the computed one (with swaps
    // allowed: the path it wants, or nothing), which the undo record takes over.
    std::vector<std::u16string> oldPaths;
    std::vector<std::u16string> newPaths;
    std::vector<std::optional<std::u16string>> got;  // the name item k got on disk
    // With swaps allowed: every rename made, in order (a parked item has two), which the
    // undo record takes over; and whether a cancel stopped the loop. An item renamed once, to
    // the path it wanted, keeps no copy of its paths: its step has no `paths`, and the record
    // takes them from oldPaths and newPaths.
    static constexpr std::size_t kItemPaths = static_cast<std::size_t>(-1);
    struct Step {
        std::size_t item;
        std::size_t paths = kItemPaths;  // else its from and to in stepPaths
    };
    std::vector<Step> steps;
    std::vector<std::pair<std::u16string, std::u16string>> stepPaths;
    bool cancelled = false;
};

// Gives every item taking part its new name on disk, in list order. Each rename is tried
// against what is on disk at that moment and never replaces an existing file; a taken name
// gets the first free "[n]" form under automatic avoidance. Failures are logged and the run
// goes on. Optionally backs each item up first ("name.bak", or its first free "[n]" form:
// a backup never replaces a file) and moves or copies the renamed items to a folder the host
// picks afterwards (the caller saves the chosen folder, settings.destination, to the INI
// file). The run is recorded for undoLastRun.
//
// With swaps allowed (settings.allowSwaps) every new name is computed first, and the renames
// then follow a RenamePlan (engine/rename_plan.h): an item may take the old name of another
// item of the run, chains go in the order that needs no temporary name, and each cycle parks
// one item under a temporary name in its folder. Every rename, the parking ones too, goes
// through RunObserver::renaming first (the undo journal) and is one entry of the undo record.
//
// In three phases: startExecution (validation, history commit and preparation, on the
// caller's thread), executeItems (the item loop: touches no Host and nothing a window can
// change, so it may run on a worker thread) and finishExecution (applies the new names to
// the table, records undo, then moves or copies with the host's questions; on the caller's
// thread). executeRun chains them.
ExecutionJob startExecution(RenameSession& session, Host& host);
void executeItems(ExecutionJob& job, RunObserver& progress);
ExecuteResult finishExecution(RenameSession& session, ExecutionJob&& job, Host& host);
ExecuteResult executeRun(RenameSession& session, Host& host, RunObserver& progress);

// The result of renaming one row in place: the messages to show, in order, and whether the
// row got the new name.
struct LabelEditResult {
    std::vector<Message> messages;
    bool renamed = false;
};

// Renames one row's item to the text its label was edited to: characters a file name cannot
// hold are repaired (or removed, with the message), the name is trimmed, and the row gets
// the new name only when the rename succeeded. Refused while a run is under way.
LabelEditResult renameByLabelEdit(RenameSession& session, std::size_t row,
                                  std::u16string_view edited);

}  // namespace soramine
