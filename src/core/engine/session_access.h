#pragma once

#include <optional>

#include "core/engine/run.h"
#include "core/engine/session.h"

namespace soramine {

// The engine's own way into a session: the runs rename rows and keep the undo record without
// discarding it, which the public interface always does. Only engine sources include this.
class SessionAccess {
  public:
    static ItemTable& items(RenameSession& s) { return s.items_; }
    static UndoRecord& undo(RenameSession& s) { return s.undo_; }
    static ErrorLog& log(RenameSession& s) { return s.log_; }
    // Marks a run as under way, or nothing when one already is.
    static std::optional<RunLease> beginRun(RenameSession& s) {
        bool expected = false;
        if (!s.running_.compare_exchange_strong(expected, true))
            return std::nullopt;
        return RunLease(s.running_);
    }
};

}  // namespace soramine
