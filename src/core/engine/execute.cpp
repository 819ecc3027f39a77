#include "core/engine/execute.h"

#include <algorithm>

#include "core/engine/session.h"
#include "core/engine/transfer.h"
#include "core/platform/fs.h"
#include "core/text/forbidden_chars.h"
#include "core/text/strings.h"

namespace soramine {
namespace {

// Renames the item at `from` (in `folder`) to `next`, or under automatic avoidance to the
// first free numbered form of it. The name the item got, or nothing after a logged failure;
// the log names the computed name, never a numbered form.
std::optional<std::u16string> renameItem(const std::u16string& from, const std::u16string& folder,
                                         const std::u16string& next, bool autoAvoid, ErrorLog& log,
                                         RunObserver& progress) {
    if (auto reason = unsafeNameReason(next)) {
        log.appendLog(std::u16string(*reason) + u" - " + folder + next + u"\r\n");
        return std::nullopt;
    }
    std::u16string candidate = next;
    for (int n = 1;; ++n) {
        progress.step();
        const platform::Status renamed = platform::renameNoReplace(from, folder + candidate);
        if (renamed)
            return candidate;
        if (!autoAvoid || !platform::isAlreadyExists(renamed.error())) {
            log.appendLog(platform::systemErrorText(renamed.error()) + u" - " + folder + next +
                          u"\r\n");
            return std::nullopt;
        }
        candidate = numberedName(next, n);
        if (candidate.size() > kLongestNumberedName) {
            log.appendLog(u"ファイル名変更エラー - " + folder + next + u"\r\n");
            return std::nullopt;
        }
    }
}

std::u16string resultLine(int processed, std::size_t runCount) {
    return u"実行結果　(" + text::decimal(processed) + u" / " +
           text::decimal(static_cast<long long>(runCount)) + u") 処理しました。";
}

}  // namespace

ExecuteResult executeRun(RenameSession& session, Host& host, RunObserver& progress) {
    ExecuteResult result;
    ErrorLog& log = session.log;
    log.clear();
    if (session.settings.folderCreation) {
        result.message = errorMessage(u"フォルダ作成はまだ使用できません");
        return result;
    }
    MethodPage* page = session.currentPage();
    if (!page) {
        result.message = unknownMethodMessage();
        return result;
    }
    const RunEnvironment env = session.environment(false);
    PreparedRun run = prepareRun(session, *page, env, host, true);
    switch (run.stop) {
        case PreparedRun::Stop::kNone:
            break;
        case PreparedRun::Stop::kNoItems:
            return result;
        case PreparedRun::Stop::kValidation:
            // A page check may have logged (script syntax errors): the log is shown then.
            result.message = std::move(run.message);
            result.showResult = session.detail.showLog && !log.text().empty();
            return result;
        case PreparedRun::Stop::kPreparation:
            result.message = std::move(run.message);
            return result;
    }

    const std::size_t runCount = run.rows.size();
    UndoRecord& undo = session.runUndo();
    undo = UndoRecord();
    undo.undoOldPaths.resize(runCount);
    undo.undoNewPaths.resize(runCount);
    undo.renamed.resize(runCount);
    session.processedCount = 0;
    session.timeStepOffset = 0;
    const bool autoAvoid = session.settings.autoAvoid != 0;
    const bool backup = session.settings.backup != 0;
    const bool transfer = session.settings.moveAfter || session.settings.copyAfter;
    std::vector<std::size_t> transferRows;
    ItemTable& items = session.runItems();

    progress.begin(runCount);
    for (std::size_t k = 0; k < runCount; ++k) {
        const std::size_t row = run.rows[k];
        const std::u16string& name = items.name(row);
        const std::u16string& folder = items.folder(row);
        std::u16string& oldPath = undo.undoOldPaths[k];
        oldPath = folder + name;
        if (backup)
            (void)platform::copyFile(oldPath, oldPath + u".bak", true);

        const std::u16string computed = page->transform(transformArgs(run, items, k), env);
        const std::u16string next = trimNewName(computed);
        std::optional<std::u16string> got;
        if (next != name)
            got = renameItem(oldPath, folder, next, autoAvoid, log, progress);
        // The record keeps the name the item got, else the computed one before trimming.
        undo.undoNewPaths[k] = folder + (got ? *got : computed);
        if (got) {
            undo.renamed[k] = true;
            progress.renamed(k, oldPath, undo.undoNewPaths[k]);
            items.setName(row, std::move(*got));  // `name` refers to the new name from here
            if (transfer)
                transferRows.push_back(row);
            ++session.processedCount;
        }

        progress.step();
        if (progress.cancelled())
            break;
        if (k % 2 == 1)
            progress.advance(2);
    }
    progress.end();

    if (session.processedCount != 0 && transfer)
        chooseDestination(session, host, transferRows);
    if (session.detail.showLog || !log.text().empty()) {
        result.showResult = true;
        result.resultLine = resultLine(session.processedCount, runCount);
    }
    undo.enabled =
        session.processedCount != 0 && session.methods.undoable(session.settings.methodIndex);
    undo.lastRunSelectedOnly = session.settings.selectedOnly != 0;
    return result;
}

std::vector<Message> renameByLabelEdit(RenameSession& session, std::size_t row,
                                       std::u16string_view edited) {
    std::vector<Message> messages;
    ItemTable& items = session.runItems();
    if (row >= items.count())
        return messages;
    auto repaired = text::checkForbiddenChars(edited, text::ForbiddenSet::All,
                                              session.detail.fullWidthForbidden != 0);
    if (repaired.message)
        messages.push_back(std::move(*repaired.message));
    if (repaired.text.empty())
        return messages;
    const std::u16string next = trimNewName(repaired.text);
    const std::u16string& folder = items.folder(row);
    if (next == items.name(row))
        return messages;
    const std::u16string target = folder + next;
    if (auto reason = unsafeNameReason(next)) {
        messages.push_back(errorMessage(std::u16string(*reason) + u"\n" + target));
        return messages;
    }
    const platform::Status renamed = platform::renameNoReplace(items.path(row), target);
    if (renamed)
        items.setName(row, next);
    else if (platform::isExistsOrAccessDenied(renamed.error()))
        messages.push_back(errorMessage(u"同名ファイルが存在します\n" + target));
    else
        messages.push_back(
            errorMessage(platform::systemErrorText(renamed.error()) + u"\n" + target));
    return messages;
}

}  // namespace soramine
