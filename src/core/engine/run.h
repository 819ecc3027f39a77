#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/base/message.h"
#include "core/engine/method.h"
#include "core/engine/session.h"

namespace soramine {

// What a run must ask outside the core. The GUI answers with its dialogs and clipboard, the
// CLI with its options.
class Host {
  public:
    virtual ~Host() = default;
    // The clipboard's text (names from text; empty when it holds none), or nothing when the
    // clipboard cannot be opened.
    virtual std::optional<std::u16string> clipboardText() = 0;
    // A folder the user picks, starting at `start`; nothing when the user cancels.
    virtual std::optional<std::u16string> chooseFolder(std::u16string_view title,
                                                       std::u16string_view start) = 0;
    // A Yes/No question (caption "確認"); true for Yes.
    virtual bool askYesNo(const Message& question) = 0;
    virtual void showMessage(const Message& message) = 0;
};

// How a run shows its progress ("変更中です") and learns that the user wants it to stop.
// A run calls begin() once, then for each item: its work, step(), cancelled(), advance();
// and end() when it is over, also after a cancel. The item loop calls it from whatever
// thread runs the loop.
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
    // A long piece of work inside the current item (hashing a large file) shows a progress of
    // its own, captioned `caption`, over 0 to `steps`, until endItemWork(). The work calls
    // step() and tests cancelled() between its steps; a cancel then also ends the run after
    // the item.
    virtual void beginItemWork(std::u16string_view /*caption*/, std::size_t /*steps*/) {}
    virtual void advanceItemWork(std::size_t /*steps*/) {}
    virtual void endItemWork() {}
    // An execution is about to rename item k from `from` to `to` (full paths); called before
    // every attempt, so that a front end can write its intent ahead (the CLI's undo
    // journal). False stops the run before this rename.
    virtual bool renaming(std::size_t /*k*/, std::u16string_view /*from*/,
                          std::u16string_view /*to*/) {
        return true;
    }
    // Item k of an execution got its new name on disk: the full paths before and after.
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
// trailing, then leading full stops: a part of `s`.
std::u16string_view trimNewName(std::u16string_view s);

// Why a computed (trimmed) name cannot be a file name here, or nothing when it can. A name is
// never a path: "/" and NUL are refused, and so are an empty name, "." and "..", which
// would name the folder itself or its parent.
std::optional<std::u16string_view> unsafeNameReason(std::u16string_view name);
// A name as a log line shows it: a NUL becomes "␀", so that the log stays text.
std::u16string visibleName(std::u16string_view name);

class NameLengthLimit;
// Whether the computed (trimmed) name `name` can be given in `folder`: a safe name
// (unsafeNameReason) that fits the folder's file system. Otherwise logs why, with the folder
// and the name, and returns false.
bool acceptableName(const std::u16string& folder, std::u16string_view name, NameLengthLimit& limit,
                    ErrorLog& log);

// The n-th form of a taken name: "[n]" before its last ".", or appended when it has none.
// Forms longer than kLongestNumberedName units, or past kHighestNumber, are not tried
// ("ファイル名変更エラー").
std::u16string numberedName(std::u16string_view name, int n);
inline constexpr std::size_t kLongestNumberedName = 254;
inline constexpr int kHighestNumber = 999999;

// The memory of one run's collision avoidance: for each folder and computed name, the first
// form (0 the name itself, n its "[n]" form) that may still be free. Many items that map to
// one name then each try about one form instead of starting again at "[1]"; the rename that
// refuses to replace still has the last word.
class NameNumbers {
  public:
    // The first form of `name` in `folder` worth trying.
    int firstForm(const std::u16string& folder, std::u16string_view name) const;
    // Forms below `form` are known to be taken.
    void takenBelow(const std::u16string& folder, std::u16string_view name, int form);
    // The run renamed an item away from `oldName`: that name, and the form it is of some
    // computed name, are free again.
    void freed(const std::u16string& folder, std::u16string_view oldName);

  private:
    std::unordered_map<std::u16string, int> first_;  // folder + name -> first form
};

// Whether new names fit their folder's file system, which limits a name's bytes rather than
// its characters (255 bytes are 85 kanji in UTF-8). The limit is asked once per folder as
// the run comes to it.
class NameLengthLimit {
  public:
    // The reason `name` cannot be a name in `folder`, or nothing when it fits (or the file
    // system gives no limit).
    std::optional<std::u16string> tooLong(const std::u16string& folder, std::u16string_view name);

  private:
    std::u16string folder_;  // the folder the limit was asked for
    std::optional<std::size_t> limit_;
    bool asked_ = false;
};

// The rows taking part, in run order (item k is the k-th): the selected rows in list order
// when `selectedOnly`, otherwise every row.
std::vector<std::size_t> runRows(const RenameSession& session, bool selectedOnly);

// Holds a session's run-in-progress mark for one run, and clears it when the run is over
// (also when the run is given up between its phases).
class RunLease {
  public:
    RunLease() = default;
    explicit RunLease(std::atomic<bool>& running) : running_(&running) {}
    RunLease(RunLease&& other) noexcept : running_(std::exchange(other.running_, nullptr)) {}
    RunLease& operator=(RunLease&& other) noexcept;
    ~RunLease() { release(); }
    bool held() const { return running_ != nullptr; }
    void release();

  private:
    std::atomic<bool>* running_ = nullptr;
};

// A preview or an execution between its phases: what the item loop needs, fixed before it
// starts. The loop reads the session's items through `items` (which cannot change while the
// lease is held) and writes only to `context` and its own results.
struct RunPlan {
    enum class Stop { kNone, kNoItems, kValidation, kPreparation, kBusy };
    Stop stop = Stop::kNone;
    std::optional<Message> message;  // why the run stopped before its loop
    MethodPage* page = nullptr;
    const ItemTable* items = nullptr;
    std::vector<std::size_t> rows;  // row of item k
    RunContext context;
    bool autoAvoid = false;
    bool allowSwaps = false;  // "入れ替え": the renames follow a RenamePlan
    std::size_t done = 0;     // items the loop got through (fewer after a cancel)
    RunLease lease;

    bool runnable() const { return stop == Stop::kNone; }
    std::size_t count() const { return rows.size(); }
    // The arguments of item k's transform.
    ItemArgs args(std::size_t k) const;
};

// The steps before the first item that preview and execution share, on the caller's thread:
// the run-in-progress mark, the rows taking part, the page's validation, then its preparation
// (which may lower the run count). With `commitHistories` (execution) the page's history
// boxes take their current texts between validation and preparation.
RunPlan prepareRun(RenameSession& session, Host& host, bool commitHistories);

// The message when the method index names no method (from a damaged settings file).
Message unknownMethodMessage();

}  // namespace soramine
