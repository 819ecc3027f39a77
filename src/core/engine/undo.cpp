#include "core/engine/undo.h"

#include <algorithm>
#include <unordered_map>

#include "core/engine/journal.h"
#include "core/engine/session.h"
#include "core/engine/session_access.h"
#include "core/platform/fs.h"

namespace soramine {

namespace {

UndoJob startRecordUndo(RenameSession& session, UndoRecord record) {
    UndoJob job;
    if (record.oldPaths.empty())
        return job;
    auto lease = SessionAccess::beginRun(session);
    if (!lease)
        return job;
    job.lease = std::move(*lease);
    job.record = std::move(record);
    return job;
}

}  // namespace

UndoJob startUndo(RenameSession& session) {
    if (session.undoRecord().oldPaths.empty() || session.running())
        return {};
    UndoRecord record = std::exchange(SessionAccess::undo(session), UndoRecord());
    if (!record.journal.empty())
        return startJournalUndo(session, std::move(record.journal));
    return startRecordUndo(session, std::move(record));
}

UndoJob startJournalUndo(RenameSession& session, std::u16string path) {
    UndoJob job;
    auto lease = SessionAccess::beginRun(session);
    if (!lease)
        return job;
    auto held = platform::LockedFile::lockToAppend(path);
    if (!held) {
        job.message = errorMessage(platform::isLockHeld(held.error())
                                       ? u"この記録は別の処理が使用中です: " + path
                                       : platform::systemErrorText(held.error()) + u" - " + path);
        return job;
    }
    const auto journal = readJournal(path);
    if (!journal) {
        job.message = errorMessage(u"元に戻す記録を読めません: " + path);
        return job;
    }
    job.record = pendingRenames(*journal, session.items());
    held->appendAfter(journal->length);
    job.lease = std::move(*lease);
    job.journalPath = std::move(path);
    job.journal.emplace(std::move(*held));
    return job;
}

void undoItems(UndoJob& job, RunObserver& progress) {
    const UndoRecord& undo = job.record;
    const std::size_t n = undo.oldPaths.size();
    if (n == 0)
        return;
    job.back.assign(n, false);
    // An entry whose old path an earlier entry made (the second rename of an item that a run
    // with swaps parked) leaves its item under a temporary name until the earlier entry is
    // undone too: a cancel waits until then.
    std::unordered_map<std::u16string_view, std::size_t> madeBy;
    for (std::size_t k = 0; k < n; ++k) {
        if (k < undo.renamed.size() && undo.renamed[k])
            madeBy.emplace(undo.newPaths[k], k);
    }
    std::size_t holdUntil = n;  // n: no item is parked
    progress.begin(n);
    for (std::size_t k = n; k-- > 0;) {
        const std::u16string& oldPath = undo.oldPaths[k];
        const std::u16string& newPath = undo.newPaths[k];
        const bool renamed = k < undo.renamed.size() && undo.renamed[k];
        if (renamed && oldPath != newPath) {
            const platform::Status back = platform::renameNoReplace(newPath, oldPath);
            // With its new name gone and its old name there, the item is back already (renamed
            // by hand, or by an undo that was stopped): asked only on failure, so that a whole
            // undo costs one call per item.
            if (back || (platform::isNotFound(back.error()) && platform::exists(oldPath))) {
                job.back[k] = true;
                // The journal keeps what is back, so that an undo stopped later (or killed) is
                // finished without taking a name that is back for the item now holding it.
                // Not written, the next undo decides from the disk as before.
                if (job.journal && k < undo.entries.size())
                    (void)job.journal->append(journalUndone(undo.entries[k]));
            } else {
                ++job.failures;
                if (platform::isAlreadyExists(back.error()))
                    job.log.appendLog(u"同名ファイルが存在します - " + oldPath + u"\r\n");
                else
                    job.log.appendLog(platform::systemErrorText(back.error()) + u" - " + newPath +
                                      u"\r\n");
            }
        }
        if (job.back[k]) {
            const auto made = madeBy.find(oldPath);
            if (made != madeBy.end() && made->second < k)
                holdUntil = std::min(holdUntil, made->second);
        }
        if (k == holdUntil)
            holdUntil = n;
        ++job.undone;
        progress.step();
        if (holdUntil == n && progress.cancelled())
            break;
        progress.advance(1);
    }
    progress.end();
}

UndoResult finishUndo(RenameSession& session, UndoJob&& job) {
    UndoResult result;
    result.message = std::move(job.message);
    if (!job.lease.held())
        return result;
    const UndoRecord& undo = job.record;
    ItemTable& items = SessionAccess::items(session);
    // Last entry first, as the loop went: a row with two entries (an item parked by a run
    // with swaps) ends with the name its first entry gives back.
    for (std::size_t k = job.back.size(); k-- > 0;) {
        if (!job.back[k] || k >= undo.rows.size() || undo.rows[k] >= items.count())
            continue;
        const std::u16string& oldPath = undo.oldPaths[k];
        items.setName(undo.rows[k], oldPath.substr(oldPath.rfind(platform::kSeparator) + 1));
        result.changedRows.push_back(undo.rows[k]);
    }
    std::reverse(result.changedRows.begin(), result.changedRows.end());
    ErrorLog& log = SessionAccess::log(session);
    log.clear();
    log.appendLog(job.log.text());
    log.appendLog(u"元に戻しました。");
    result.failures = job.failures;
    result.cancelled = job.undone < undo.oldPaths.size();
    // What is not finished stays recorded: the next undo continues with it.
    if (job.journal && result.failures == 0 && !result.cancelled)
        (void)platform::removeFile(job.journalPath);
    return result;
}

UndoResult undoLastRun(RenameSession& session, RunObserver& progress) {
    UndoJob job = startUndo(session);
    undoItems(job, progress);
    return finishUndo(session, std::move(job));
}

}  // namespace soramine
