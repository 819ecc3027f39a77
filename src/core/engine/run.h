#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/expected.h"
#include "core/base/message.h"
#include "core/engine/method.h"

namespace soramine {

class RenameSession;

// What a run must ask outside the core. The GUI answers with its dialogs and clipboard, the
// CLI with its options.
class Host {
  public:
    virtual ~Host() = default;
    // The clipboard's text (names from text).
    virtual std::u16string clipboardText() = 0;
    // A folder the user picks, starting at `start`; nothing when the user cancels.
    virtual std::optional<std::u16string> chooseFolder(std::u16string_view title,
                                                       std::u16string_view start) = 0;
    // A Yes/No question (caption "確認"); true for Yes.
    virtual bool askYesNo(const Message& question) = 0;
    virtual void showMessage(const Message& message) = 0;
};

// How a run shows its progress ("変更中です") and learns that the user wants it to stop.
// A run calls begin() once, then for each item: its work, step(), cancelled(), advance();
// and end() when it is over, also after a cancel.
class RunObserver {
  public:
    virtual ~RunObserver() = default;
    // The progress range is 0 to `steps`.
    virtual void begin(std::size_t steps) = 0;
    // Handles at most one pending event (a repaint, a click on "中止(&A)"). Called after each
    // item and before each rename attempt.
    virtual void step() = 0;
    // Whether the user asked to stop; tested after each item, the run then ends.
    virtual bool cancelled() = 0;
    virtual void advance(std::size_t steps) = 0;
    // Closes the progress and clears the cancel request.
    virtual void end() = 0;
    // Item k of an execution got its new name on disk: the full paths before and after.
    // Called right after each successful rename, so that a front end can keep its own
    // record of the run as it goes (the CLI's undo journal).
    virtual void renamed(std::size_t /*k*/, std::u16string_view /*from*/,
                         std::u16string_view /*to*/) {}
};

// An observer that shows nothing and never cancels.
class QuietObserver final : public RunObserver {
  public:
    void begin(std::size_t) override {}
    void step() override {}
    bool cancelled() override { return false; }
    void advance(std::size_t) override {}
    void end() override {}
};

// A computed name without its trailing, then leading spaces (U+0020 only), then its
// trailing, then leading full stops.
std::u16string trimNewName(std::u16string_view s);

// Why a computed (trimmed) name cannot be a file name here, or nothing when it can. A name is
// never a path: "/" and NUL are refused, and so are an empty name, "." and "..", which
// would name the folder itself or its parent.
std::optional<std::u16string_view> unsafeNameReason(std::u16string_view name);

// The n-th form of a taken name: "[n]" before its last ".", or appended when it has none.
// A form longer than kLongestNumberedName units is not tried ("ファイル名変更エラー").
std::u16string numberedName(std::u16string_view name, int n);
inline constexpr std::size_t kLongestNumberedName = 254;

// Parses the file-name format of the MP3 method's tag-writing mode: the tags "$L", "$A",
// "$T", "$N" (0..3) and the texts between them, up to five slots. tagOrder[0] holds a tag
// only when the format begins with one. A refused format gives its message.
Expected<TagFormat, Message> parseTagFormat(std::u16string_view format);

// The greatest name length among the run's items, for the conversion page's adjust mode;
// with `ignoreExtension` each name is measured without its extension.
int longestNameLength(const RunItems& items, bool ignoreExtension);

// The rows taking part, in run order (item k is the k-th): the selected rows in list order
// when `selectedOnly`, otherwise every row.
std::vector<std::size_t> runRows(const RenameSession& session, bool selectedOnly);

// A run ready for its first item, or why it stopped before.
struct PreparedRun {
    enum class Stop { kNone, kNoItems, kValidation, kPreparation };
    Stop stop = Stop::kNone;
    std::optional<Message> message;  // the page's or the preparation's message
    std::vector<std::size_t> rows;   // row of item k; runCount is its size
    RunPreparation values;
};

// The steps before the first item that preview and execution share: the rows taking part,
// the page's validation, then its preparation (which may lower the run count). With
// `commitHistories` (execution) the page's history boxes take their current texts between
// validation and preparation.
PreparedRun prepareRun(RenameSession& session, MethodPage& page, const RunEnvironment& env,
                       Host& host, bool commitHistories);

// The arguments of item k's transform.
ItemArgs transformArgs(const PreparedRun& run, const ItemTable& items, std::size_t k);

// The message when the method index names no method (from a damaged settings file).
Message unknownMethodMessage();

}  // namespace soramine
