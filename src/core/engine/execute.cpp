#include "core/engine/execute.h"

#include <algorithm>
#include <random>

#include "core/engine/rename_plan.h"
#include "core/engine/session.h"
#include "core/engine/session_access.h"
#include "core/engine/transfer.h"
#include "core/platform/fs.h"
#include "core/text/forbidden_chars.h"
#include "core/text/strings.h"

namespace soramine {
namespace {

// Renames the item `name` at `from` (in `folder`, held open as `dir`) to `next`, a name found
// acceptable, or under automatic avoidance to the first free numbered form of it. The name the
// item got, its path left in `newPath`; or nothing after a logged failure. The log names the
// computed name, never a numbered form.
std::optional<std::u16string> renameItem(std::size_t k, std::u16string_view from,
                                         std::u16string_view name, const platform::OpenFolder& dir,
                                         std::u16string_view next, bool autoAvoid,
                                         NameNumbers& numbers, ErrorLog& log, RunObserver& progress,
                                         std::u16string& newPath) {
    const std::u16string& folder = dir.path();
    const auto logLine = [&](std::u16string_view reason, std::u16string_view shown) {
        log.appendLog(
            std::u16string(reason).append(u" - ").append(folder).append(shown).append(u"\r\n"));
    };
    int form = autoAvoid ? numbers.firstForm(folder, next) : 0;
    std::u16string candidate = form == 0 ? std::u16string(next) : numberedName(next, form);
    while (true) {
        progress.step();
        newPath.assign(folder).append(candidate);
        if (!progress.renaming(k, from, newPath)) {
            logLine(u"ファイル名変更エラー", next);
            return std::nullopt;
        }
        const platform::Status renamed = dir.renameNoReplace(name, candidate);
        if (renamed) {
            // A name taken at the first try is not remembered: an item computing it again
            // finds it taken with one refused rename and is remembered from then on, so that a
            // run without collisions keeps no memory per item.
            if (autoAvoid && form > 0)
                numbers.takenBelow(folder, next, form + 1);
            return candidate;
        }
        if (!autoAvoid || !platform::isAlreadyExists(renamed.error())) {
            logLine(platform::systemErrorText(renamed.error()), next);
            return std::nullopt;
        }
        candidate = numberedName(next, ++form);
        if (candidate.size() > kLongestNumberedName || form > kHighestNumber) {
            logLine(u"ファイル名変更エラー", next);
            return std::nullopt;
        }
    }
}

// Copies the item to "name.bak" beside it, or to the first free "[n]" form of that name: a
// backup never replaces a file. A backup that went elsewhere, or failed, is logged; the
// item is renamed either way. False when the backup failed.
bool backUp(const std::u16string& path, ErrorLog& log) {
    const std::u16string wanted = path + u".bak";
    std::u16string target = wanted;
    for (int n = 1;; ++n) {
        const platform::Status copied = platform::copyFile(path, target, false);
        if (copied) {
            if (n > 1)
                log.appendLog(u"バックアップを別名で保存しました - " + target + u"\r\n");
            return true;
        }
        if (!platform::isAlreadyExists(copied.error()) || n > kHighestNumber) {
            log.appendLog(u"バックアップに失敗しました: " +
                          platform::systemErrorText(copied.error()) + u" - " + path + u"\r\n");
            return false;
        }
        target = numberedName(wanted, n);
    }
}

std::u16string resultLine(int processed, std::size_t runCount) {
    return u"実行結果　(" + text::decimal(processed) + u" / " +
           text::decimal(static_cast<long long>(runCount)) + u") 処理しました。";
}

// Gives the item `name` (in `dir`, at `from`) a temporary name that nothing in its folder has,
// so that the rest of its cycle can take its name. The temporary name, its path left in
// `parkedPath`; or nothing after a logged failure (the log names the computed name `next`).
std::optional<std::u16string> park(std::size_t k, std::u16string_view from,
                                   std::u16string_view name, const platform::OpenFolder& dir,
                                   std::u16string_view next, std::mt19937_64& random, ErrorLog& log,
                                   RunObserver& progress, std::u16string& parkedPath) {
    const std::u16string& folder = dir.path();
    std::u16string reason = u"ファイル名変更エラー";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::u16string temporary =
            u".soramine-" + text::decimal(static_cast<long long>(random() >> 16));
        parkedPath.assign(folder).append(temporary);
        progress.step();
        if (!progress.renaming(k, from, parkedPath))
            break;
        const platform::Status renamed = dir.renameNoReplace(name, temporary);
        if (renamed)
            return temporary;
        if (!platform::isAlreadyExists(renamed.error())) {
            reason = platform::systemErrorText(renamed.error());
            break;
        }
    }
    log.appendLog(reason.append(u" - ").append(folder).append(next).append(u"\r\n"));
    return std::nullopt;
}

// The item loop of a run that allows swaps: every new name is computed first (with the
// backups and the changes a method makes to the files), then the renames are made in the
// order of a RenamePlan. A cancel is heard between renames, never while an item is parked.
void executeWithSwaps(ExecutionJob& job, RunObserver& progress) {
    RunPlan& plan = job.plan;
    RunContext& run = plan.context;
    const std::size_t runCount = plan.count();
    RenamePlan renames;
    renames.reserve(runCount);
    std::vector<std::size_t> itemOf;  // item k of each planned rename
    for (std::size_t k = 0; k < runCount && !job.cancelled; ++k) {
        const ItemArgs item = plan.args(k);
        const std::u16string& name = plan.items->name(item.row);
        const std::u16string& folder = plan.items->folder(item.row);
        std::u16string& oldPath = job.oldPaths[k];
        oldPath = folder + name;
        if (job.backup && !backUp(oldPath, run.log))
            ++run.failures;
        plan.page->apply(item, run);
        const std::u16string computed = plan.page->transform(item, run);
        const std::u16string_view next = trimNewName(computed);
        if (next != name) {
            if (acceptableName(folder, next, job.limit, run.log)) {
                std::u16string& newPath = job.newPaths[k];
                newPath.reserve(folder.size() + next.size());
                renames.add(oldPath, newPath.append(folder).append(next));
                itemOf.push_back(k);
            } else {
                ++run.failures;
            }
        }
        plan.done = k + 1;
        progress.step();
        job.cancelled = progress.cancelled();
        if (k % 2 == 1)
            progress.advance(1);
    }
    plan.page->finishApply(run);
    if (job.cancelled)
        return;

    renames.plan();
    job.steps.reserve(renames.steps().size());
    std::mt19937_64 random(std::random_device{}());
    std::optional<platform::OpenFolder> open;
    std::u16string parked;  // the temporary name of the parked item, while there is one
    std::u16string path;    // the path an item got
    std::size_t stepsDone = 0;
    for (const RenamePlan::Step& step : renames.steps()) {
        const std::size_t k = itemOf[step.entry];
        // The folder and the names are taken from the plan's paths, which lie together in
        // memory, rather than from the item table, whose rows are visited out of order here.
        const std::u16string_view oldPath = renames.from(step.entry);
        const std::u16string_view wanted = renames.to(step.entry);
        const std::size_t cut = oldPath.rfind(platform::kSeparator) + 1;
        const std::u16string_view name = oldPath.substr(cut);
        const std::u16string_view next = wanted.substr(cut);
        if (!open || open->path() != oldPath.substr(0, cut))
            open.emplace(std::u16string(oldPath.substr(0, cut)));
        const std::u16string& folder = open->path();
        const auto made = [&](std::u16string_view from, std::u16string_view to) {
            progress.renamed(k, from, to);
            job.steps.push_back({k, job.stepPaths.size()});
            job.stepPaths.emplace_back(from, to);
        };
        if (step.kind == RenamePlan::StepKind::kPark) {
            if (auto temporary =
                    park(k, oldPath, name, *open, next, random, run.log, progress, path)) {
                parked = std::move(*temporary);
                made(oldPath, path);
                if (plan.autoAvoid)
                    job.numbers.freed(folder, name);
            } else {
                ++run.failures;  // the rest of the cycle meets its name as taken
            }
            continue;
        }
        const bool unpark = step.kind == RenamePlan::StepKind::kUnpark;
        std::u16string parkedPath;
        if (unpark) {
            if (parked.empty())
                continue;
            parkedPath = folder + parked;
        }
        const std::u16string_view from = unpark ? std::u16string_view(parkedPath) : oldPath;
        const std::u16string_view current = unpark ? std::u16string_view(parked) : name;
        job.got[k] = renameItem(k, from, current, *open, next, plan.autoAvoid, job.numbers, run.log,
                                progress, path);
        if (job.got[k]) {
            if (unpark || path != wanted) {
                made(from, path);
            } else {
                // The item's one rename, to the path it wanted: the undo record takes its
                // paths from oldPaths and newPaths, and the step keeps no copy.
                progress.renamed(k, from, path);
                job.steps.push_back({k});
            }
            if (plan.autoAvoid && !unpark)
                job.numbers.freed(folder, name);
            ++run.processedCount;
        } else {
            ++run.failures;
            // A parked item that cannot get its new name gets its old one back, or keeps the
            // temporary one, which the log names.
            if (unpark) {
                if (progress.renaming(k, from, oldPath) && open->renameNoReplace(parked, name)) {
                    made(from, oldPath);
                } else {
                    job.got[k] = parked;
                    run.log.appendLog(u"一時的な名前のままです - " + parkedPath + u"\r\n");
                }
            }
        }
        if (unpark)
            parked.clear();
        progress.step();
        if (parked.empty() && progress.cancelled()) {
            job.cancelled = true;
            break;
        }
        if (++stepsDone % 2 == 0)
            progress.advance(1);
    }
}

}  // namespace

ExecutionJob startExecution(RenameSession& session, Host& host) {
    ExecutionJob job;
    SessionAccess::log(session).clear();
    // In folder-creation mode the front end makes folders instead (engine/folder_maker.h).
    if (session.settings.folderCreation) {
        job.plan.stop = RunPlan::Stop::kNoItems;
        return job;
    }
    job.plan = prepareRun(session, host, true);
    job.backup = session.settings.backup != 0;
    return job;
}

void executeItems(ExecutionJob& job, RunObserver& progress) {
    RunPlan& plan = job.plan;
    if (!plan.runnable())
        return;
    const std::size_t runCount = plan.count();
    job.oldPaths.resize(runCount);
    job.newPaths.resize(runCount);
    job.got.resize(runCount);
    if (plan.allowSwaps) {
        plan.context.progress = &progress;
        progress.begin(runCount);
        executeWithSwaps(job, progress);
        progress.end();
        plan.context.progress = nullptr;
        return;
    }
    RunContext& run = plan.context;

    // The folder of the items being renamed, held open while they come from it.
    std::optional<platform::OpenFolder> open;
    plan.context.progress = &progress;
    progress.begin(runCount);
    for (std::size_t k = 0; k < runCount; ++k) {
        const ItemArgs item = plan.args(k);
        const std::u16string& name = plan.items->name(item.row);
        const std::u16string& folder = plan.items->folder(item.row);
        std::u16string& oldPath = job.oldPaths[k];
        oldPath = folder + name;
        if (job.backup && !backUp(oldPath, run.log))
            ++run.failures;

        plan.page->apply(item, run);
        const std::u16string computed = plan.page->transform(item, run);
        const std::u16string_view next = trimNewName(computed);
        if (next != name) {
            if (!open || open->path() != folder)
                open.emplace(folder);
            if (acceptableName(folder, next, job.limit, run.log))
                job.got[k] = renameItem(k, oldPath, name, *open, next, plan.autoAvoid, job.numbers,
                                        run.log, progress, job.newPaths[k]);
            if (!job.got[k])
                ++run.failures;
        }
        // The record keeps the path the item got, else the computed name before trimming.
        if (!job.got[k])
            job.newPaths[k] = folder + computed;
        if (job.got[k]) {
            progress.renamed(k, oldPath, job.newPaths[k]);
            if (plan.autoAvoid)
                job.numbers.freed(folder, name);
            ++run.processedCount;
        }
        plan.done = k + 1;

        progress.step();
        if (progress.cancelled())
            break;
        if (k % 2 == 1)
            progress.advance(2);
    }
    plan.page->finishApply(run);
    progress.end();
    plan.context.progress = nullptr;
}

ExecuteResult finishExecution(RenameSession& session, ExecutionJob&& job, Host& host) {
    ExecuteResult result;
    RunPlan& plan = job.plan;
    ErrorLog& log = SessionAccess::log(session);
    // Lines a page check logged are shown with the validation message.
    log.appendLog(plan.context.log.text());
    switch (plan.stop) {
        case RunPlan::Stop::kNone:
            break;
        case RunPlan::Stop::kNoItems:
            return result;
        case RunPlan::Stop::kValidation:
            result.message = std::move(plan.message);
            result.showResult = session.detail.showLog && !log.text().empty();
            return result;
        case RunPlan::Stop::kPreparation:
        case RunPlan::Stop::kBusy:
            result.message = std::move(plan.message);
            return result;
    }

    const std::size_t runCount = plan.count();
    result.cancelled = plan.done < runCount || job.cancelled;
    result.failures = plan.context.failures;
    ItemTable& items = SessionAccess::items(session);
    UndoRecord undo;
    if (plan.allowSwaps) {
        // One entry per rename made, in the order made, so that the undo (last first) takes
        // a parked item through its temporary name again.
        undo.oldPaths.reserve(job.steps.size());
        undo.newPaths.reserve(job.steps.size());
        undo.rows.reserve(job.steps.size());
        for (const ExecutionJob::Step& step : job.steps) {
            const bool itemPaths = step.paths == ExecutionJob::kItemPaths;
            undo.oldPaths.push_back(
                std::move(itemPaths ? job.oldPaths[step.item] : job.stepPaths[step.paths].first));
            undo.newPaths.push_back(
                std::move(itemPaths ? job.newPaths[step.item] : job.stepPaths[step.paths].second));
            undo.rows.push_back(plan.rows[step.item]);
        }
        undo.renamed.assign(undo.oldPaths.size(), true);
    } else {
        undo.rows.assign(plan.rows.begin(), plan.rows.begin() + plan.done);
        // The job is done with its paths: the record takes them over.
        undo.oldPaths = std::move(job.oldPaths);
        undo.oldPaths.resize(plan.done);
        undo.newPaths = std::move(job.newPaths);
        undo.newPaths.resize(plan.done);
        undo.renamed.resize(plan.done);
    }
    std::vector<std::size_t> transferRows;
    const bool transfer = session.settings.moveAfter || session.settings.copyAfter;
    for (std::size_t k = 0; k < plan.done; ++k) {
        if (!job.got[k])
            continue;
        const std::size_t row = plan.rows[k];
        items.setName(row, std::move(*job.got[k]));
        if (!plan.allowSwaps)
            undo.renamed[k] = true;
        result.changedRows.push_back(row);
        if (transfer)
            transferRows.push_back(row);
    }
    for (CellChange& change : plan.context.cellChanges)
        items.setText(change.column, change.row, std::move(change.text));
    const int processed = plan.context.processedCount;
    result.processed = processed;
    // A parked item left under its temporary name has no processed count but is undone.
    undo.enabled = (processed != 0 || !job.steps.empty()) &&
                   session.methods.undoable(session.settings.methodIndex);
    SessionAccess::undo(session) = std::move(undo);
    // The table is the window's again before the host is asked anything.
    plan.lease.release();

    if (processed != 0 && transfer) {
        const TransferResult moved = chooseDestination(session, host, transferRows);
        result.failures += moved.failures;
    }
    if (session.detail.showLog || !log.text().empty()) {
        result.showResult = true;
        result.resultLine = resultLine(processed, runCount);
    }
    return result;
}

ExecuteResult executeRun(RenameSession& session, Host& host, RunObserver& progress) {
    ExecutionJob job = startExecution(session, host);
    executeItems(job, progress);
    return finishExecution(session, std::move(job), host);
}

LabelEditResult renameByLabelEdit(RenameSession& session, std::size_t row,
                                  std::u16string_view edited) {
    LabelEditResult result;
    auto lease = SessionAccess::beginRun(session);
    if (!lease) {
        result.messages.push_back(RenameSession::runningMessage());
        return result;
    }
    ItemTable& items = SessionAccess::items(session);
    if (row >= items.count())
        return result;
    auto repaired = text::checkForbiddenChars(edited, text::ForbiddenSet::All,
                                              session.detail.fullWidthForbidden != 0);
    if (repaired.message)
        result.messages.push_back(std::move(*repaired.message));
    if (repaired.text.empty())
        return result;
    const std::u16string next(trimNewName(repaired.text));
    const std::u16string& folder = items.folder(row);
    if (next == items.name(row))
        return result;
    const std::u16string target = folder + next;
    if (auto reason = unsafeNameReason(next)) {
        result.messages.push_back(errorMessage(std::u16string(*reason) + u"\n" + target));
        return result;
    }
    const platform::Status renamed = platform::renameNoReplace(items.path(row), target);
    if (renamed) {
        items.setName(row, next);
        result.renamed = true;
    } else if (platform::isExistsOrAccessDenied(renamed.error())) {
        result.messages.push_back(errorMessage(u"同名ファイルが存在します\n" + target));
    } else {
        result.messages.push_back(
            errorMessage(platform::systemErrorText(renamed.error()) + u"\n" + target));
    }
    return result;
}

}  // namespace soramine
