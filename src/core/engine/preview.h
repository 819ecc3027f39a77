#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/base/message.h"
#include "core/engine/run.h"

namespace soramine {

// What a preview computed. The preview dialog ("変更予測") opens when the lists are not
// empty: entry k is item k's old name and its result (the new name, "変更無し", or the
// message of a problem); items the preview did not get to (after a cancel) stay empty.
struct PreviewResult {
    std::optional<Message> message;  // validation or preparation stopped the preview
    std::vector<std::u16string> previewOld;
    std::vector<std::u16string> previewNew;
    // What the run would do with item k, beside the shown text.
    enum class Outcome : std::uint8_t {
        kPending,    // not got to
        kRenamed,    // gets the shown name
        kUnchanged,  // "変更無し"
        kNumbered,   // its name is taken: shown with the "[n]" form it would get
        kRefused,    // the shown text is the problem's message
    };
    std::vector<Outcome> outcomes;
};

// A preview between its phases.
struct PreviewJob {
    RunPlan plan;
    NameNumbers numbers;
    NameLengthLimit limit;
    PreviewResult result;
    // Items [firstItems.first, firstItems.second) of the run are worked through before the
    // others (a window's visible rows). Without swaps every item's result stands alone, so
    // the order changes nothing but which results are there first; with swaps it is ignored.
    std::pair<std::size_t, std::size_t> firstItems{0, 0};
};

// Shows, for every item taking part, the name it would get, without changing anything on
// disk. A name is checked only against what is on disk, never against the other items' new
// names; a taken name is shown with the "[n]" suffix the execution would try when automatic
// avoidance is on. With swaps allowed (settings.allowSwaps), the names are shown once all are
// computed, as the execution's RenamePlan gives them: a name another item of the run gives up
// counts as free, and one an earlier item wants as taken. Messages logged meanwhile are
// captured and shown in place of the name;
// the session's log does not change. Does nothing when folder creation is on.
//
// In three phases: startPreview (validation and preparation, on the caller's thread),
// previewItems (the item loop: touches no Host and nothing a window can change, so it may
// run on a worker thread; the observer's n-th step() follows the n-th item of
// previewOrder()) and finishPreview (on the caller's thread again). previewRun
// chains them.
PreviewJob startPreview(RenameSession& session, Host& host);
void previewItems(PreviewJob& job, RunObserver& progress);
PreviewResult finishPreview(PreviewJob&& job);
// The run's item number of the n-th item the loop works through.
std::size_t previewOrder(const PreviewJob& job, std::size_t n);
PreviewResult previewRun(RenameSession& session, Host& host, RunObserver& progress);

// The text "結果をコピー(&P)" puts on the clipboard: a header line, an empty line, then
// old "→" new per row, each line ending in CR LF.
std::u16string previewClipboardText(const PreviewResult& preview);

}  // namespace soramine
