#include "core/engine/preview.h"

#include <algorithm>

#include "core/engine/rename_plan.h"
#include "core/engine/session.h"
#include "core/platform/fs.h"

namespace soramine {
namespace {

// The name a changed item would be shown with: `next` when it is free, or its first free
// numbered form under automatic avoidance. A refused name is logged and shown as computed.
// `taken(path, form)` says whether the form `form` of the name, at `path`, is taken; with
// `claims` the form shown is taken from then on (a run with swaps gives every name once).
template <class Taken>
std::u16string shownName(const std::u16string& folder, const std::u16string& next, bool autoAvoid,
                         NameNumbers& numbers, NameLengthLimit& limit, ErrorLog& log,
                         const Taken& taken, bool claims) {
    if (!acceptableName(folder, next, limit, log))
        return next;
    int form = autoAvoid ? numbers.firstForm(folder, next) : 0;
    std::u16string candidate = form == 0 ? next : numberedName(next, form);
    while (taken(folder + candidate, form)) {
        if (!autoAvoid) {
            log.appendLog(u"同名ファイルが存在します - " + folder + next + u"\r\n");
            return next;
        }
        candidate = numberedName(next, ++form);
        if (candidate.size() > kLongestNumberedName || form > kHighestNumber) {
            log.appendLog(u"ファイル名変更エラー - " + folder + next + u"\r\n");
            return next;
        }
    }
    // Without claims nothing is renamed in a preview: the free form stays the first to try.
    numbers.takenBelow(folder, next, claims ? form + 1 : form);
    return candidate;
}

bool onDisk(const std::u16string& path, int) {
    return platform::exists(path);
}

// The shown names of a preview that allows swaps, once every item's new name (`wanted`) is
// known: a name that another item of the run gives up is free, a name that an earlier item
// wants is taken, as the execution's RenamePlan has them.
void showPlannedNames(PreviewJob& job, const std::vector<std::u16string>& wanted) {
    using Outcome = PreviewResult::Outcome;
    const RunPlan& plan = job.plan;
    ErrorLog& log = job.plan.context.log;
    std::vector<std::u16string>& shown = job.result.previewNew;
    std::vector<Outcome>& outcomes = job.result.outcomes;
    // An item whose transform logged keeps that message.
    const auto show = [&](std::size_t k, std::u16string text, Outcome outcome) {
        if (shown[k].empty()) {
            shown[k] = std::move(text);
            outcomes[k] = outcome;
        } else {
            outcomes[k] = Outcome::kRefused;
        }
    };
    RenamePlan renames;
    std::vector<std::size_t> itemOf;
    std::vector<std::u16string> oldPaths(plan.done), newPaths(plan.done);  // the plan's paths
    for (std::size_t k = 0; k < plan.done; ++k) {
        const std::u16string& name = plan.items->name(plan.rows[k]);
        const std::u16string& folder = plan.items->folder(plan.rows[k]);
        if (wanted[k] == name) {
            show(k, u"変更無し", Outcome::kUnchanged);
        } else if (!acceptableName(folder, wanted[k], job.limit, log)) {
            show(k, log.takeCaptured(), Outcome::kRefused);
        } else {
            oldPaths[k] = folder + name;
            newPaths[k] = folder + wanted[k];
            renames.add(oldPaths[k], newPaths[k]);
            itemOf.push_back(k);
        }
    }
    renames.plan();
    for (std::size_t entry = 0; entry < renames.size(); ++entry) {
        const std::size_t k = itemOf[entry];
        const RenamePlan::Role role = renames.role(entry);
        const auto taken = [&](const std::u16string& path, int form) {
            if (form == 0)
                return role == RenamePlan::Role::kCollides ||
                       (role == RenamePlan::Role::kFree && platform::exists(path));
            return renames.isNewPath(path) || (platform::exists(path) && !renames.isOldPath(path));
        };
        std::u16string name = shownName(plan.items->folder(plan.rows[k]), wanted[k], plan.autoAvoid,
                                        job.numbers, job.limit, log, taken, true);
        std::u16string captured = log.takeCaptured();
        if (!captured.empty())
            show(k, std::move(captured), Outcome::kRefused);
        else
            show(k, name, name == wanted[k] ? Outcome::kRenamed : Outcome::kNumbered);
    }
}

}  // namespace

PreviewJob startPreview(RenameSession& session, Host& host) {
    PreviewJob job;
    if (session.settings.folderCreation) {
        job.plan.stop = RunPlan::Stop::kNoItems;
        return job;
    }
    job.plan = prepareRun(session, host, false);
    job.result.message = job.plan.message;
    return job;
}

void previewItems(PreviewJob& job, RunObserver& progress) {
    using Outcome = PreviewResult::Outcome;
    RunPlan& plan = job.plan;
    if (!plan.runnable())
        return;
    const std::size_t runCount = plan.count();
    PreviewResult& result = job.result;
    result.previewOld.resize(runCount);
    result.previewNew.resize(runCount);
    result.outcomes.assign(runCount, Outcome::kPending);
    ErrorLog& log = plan.context.log;
    log.startCapture();

    std::vector<std::u16string> wanted(plan.allowSwaps ? runCount : 0);
    plan.context.progress = &progress;
    progress.begin(runCount);
    for (std::size_t n = 0; n < runCount; ++n) {
        const std::size_t k = previewOrder(job, n);
        const ItemArgs item = plan.args(k);
        const std::u16string& name = plan.items->name(item.row);
        const std::u16string& folder = plan.items->folder(item.row);
        std::u16string next(trimNewName(plan.page->transform(item, plan.context)));
        result.previewOld[k] = name;
        plan.done = std::max(plan.done, k + 1);
        if (plan.allowSwaps) {
            // The transform's own message, if any; the names are shown once all are known.
            result.previewNew[k] = log.takeCaptured();
            wanted[k] = std::move(next);
        } else {
            Outcome outcome = Outcome::kUnchanged;
            std::u16string shown(u"変更無し");
            if (next != name) {
                shown = shownName(folder, next, plan.autoAvoid, job.numbers, job.limit, log, onDisk,
                                  false);
                outcome = shown == next ? Outcome::kRenamed : Outcome::kNumbered;
            }
            std::u16string captured = log.takeCaptured();
            result.outcomes[k] = captured.empty() ? outcome : Outcome::kRefused;
            result.previewNew[k] = captured.empty() ? std::move(shown) : std::move(captured);
        }

        progress.step();
        if (progress.cancelled())
            break;
        if (n % 2 == 1)
            progress.advance(2);
    }
    if (plan.allowSwaps)
        showPlannedNames(job, wanted);
    progress.end();
    plan.context.progress = nullptr;
    log.endCapture();
}

std::size_t previewOrder(const PreviewJob& job, std::size_t n) {
    if (job.plan.allowSwaps)
        return n;
    const auto [first, last] = job.firstItems;
    const std::size_t count = job.plan.count();
    const std::size_t end = std::min(last, count);
    const std::size_t begin = std::min(first, end);
    if (n < end - begin)
        return begin + n;
    n -= end - begin;
    return n < begin ? n : n + (end - begin);
}

PreviewResult finishPreview(PreviewJob&& job) {
    job.plan.lease.release();
    return std::move(job.result);
}

PreviewResult previewRun(RenameSession& session, Host& host, RunObserver& progress) {
    PreviewJob job = startPreview(session, host);
    previewItems(job, progress);
    return finishPreview(std::move(job));
}

std::u16string previewClipboardText(const PreviewResult& preview) {
    std::u16string text = u"変更前→変更後\r\n\r\n";
    for (std::size_t k = 0; k < preview.previewOld.size(); ++k) {
        text += preview.previewOld[k];
        text += u'→';
        text += preview.previewNew[k];
        text += u"\r\n";
    }
    return text;
}

}  // namespace soramine
