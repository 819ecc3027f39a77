#pragma once

#include "core/engine/run.h"

namespace soramine {

class RenameSession;

// Gives the items of the last execution their former names again, last item first, so that
// chains of names come apart in the right order. Only items the execution really renamed are
// renamed back, never onto an existing file: an old name taken again (or refused access) is
// logged as "同名ファイルが存在します - " + old path, and the item keeps its name. The log
// is cleared first and ends with "元に戻しました。"; the record is emptied, also after a
// cancel. Does nothing when the record is empty.
void undoLastRun(RenameSession& session, RunObserver& progress);

}  // namespace soramine
