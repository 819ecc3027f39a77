#include "core/engine/undo.h"

#include "core/engine/session.h"
#include "core/platform/fs.h"

namespace soramine {

void undoLastRun(RenameSession& session, RunObserver& progress) {
    UndoRecord& undo = session.runUndo();
    const std::size_t n = undo.undoOldPaths.size();
    if (n == 0)
        return;
    undo.enabled = false;
    progress.begin(n);
    session.log.clear();
    // The selection is the one of the execution: any change of it discarded the record.
    const std::vector<std::size_t> rows = runRows(session, undo.lastRunSelectedOnly);
    ItemTable& items = session.runItems();

    for (std::size_t k = n; k-- > 0;) {
        const std::u16string& oldPath = undo.undoOldPaths[k];
        const std::u16string& newPath = undo.undoNewPaths[k];
        const bool renamed = k < undo.renamed.size() && undo.renamed[k];
        if (renamed && oldPath != newPath) {
            const platform::Status back = platform::renameNoReplace(newPath, oldPath);
            if (back) {
                if (k < rows.size())
                    items.setName(rows[k], oldPath.substr(oldPath.rfind(platform::kSeparator) + 1));
            } else if (platform::isExistsOrAccessDenied(back.error())) {
                session.log.appendLog(u"同名ファイルが存在します - " + oldPath + u"\r\n");
            }
        }
        progress.step();
        if (progress.cancelled())
            break;
        progress.advance(1);
    }
    progress.end();
    session.log.appendLog(u"元に戻しました。");
    undo = UndoRecord();
}

}  // namespace soramine
