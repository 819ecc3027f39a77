#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/base/message.h"
#include "core/engine/run.h"

namespace soramine {

class RenameSession;

// What a preview computed. The preview dialog ("変更予測") opens when the lists are not
// empty: entry k is item k's old name and its result (the new name, "変更無し", or the
// message of a problem); items the preview did not get to (after a cancel) stay empty.
struct PreviewResult {
    std::optional<Message> message;  // validation or preparation stopped the preview
    std::vector<std::u16string> previewOld;
    std::vector<std::u16string> previewNew;
};

// Shows, for every item taking part, the name it would get, without changing anything on
// disk. A name is checked only against what is on disk, never against the other items' new
// names; a taken name is shown with the "[n]" suffix the execution would try when automatic
// avoidance is on. Messages logged meanwhile are captured and shown in place of the name;
// the log's text does not change. Does nothing when folder creation is on.
PreviewResult previewRun(RenameSession& session, Host& host, RunObserver& progress);

// The text "結果をコピー(&P)" puts on the clipboard: a header line, an empty line, then
// old "→" new per row, each line ending in CR LF.
std::u16string previewClipboardText(const PreviewResult& preview);

}  // namespace soramine
