#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/message.h"
#include "core/engine/run.h"

namespace soramine {

class RenameSession;

// What an execution asks the front end to show when it is over, in this order: the message
// that stopped it (validation or preparation), then the result dialog ("リネーム終了") with
// the result line and the error log's text.
struct ExecuteResult {
    std::optional<Message> message;
    bool showResult = false;
    // "実行結果　(%d / %d) 処理しました。" with the processed and the participating count;
    // empty when validation failed.
    std::u16string resultLine;
};

// Gives every item taking part its new name on disk, in list order. Each rename is tried
// against what is on disk at that moment and never replaces an existing file; a taken name
// gets the first free "[n]" form under automatic avoidance. Failures are logged and the run
// goes on. Optionally backs each item up first ("name.bak") and moves or copies the renamed
// items to a folder the host picks afterwards. The run is recorded for undoLastRun.
ExecuteResult executeRun(RenameSession& session, Host& host, RunObserver& progress);

// Renames one row's item to the text its label was edited to: characters a file name cannot
// hold are repaired (or removed, with the message), the name is trimmed, and the row gets
// the new name only when the rename succeeded. Returns the messages to show, in order.
std::vector<Message> renameByLabelEdit(RenameSession& session, std::size_t row,
                                       std::u16string_view edited);

}  // namespace soramine
