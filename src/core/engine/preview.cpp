#include "core/engine/preview.h"

#include "core/engine/session.h"
#include "core/platform/fs.h"

namespace soramine {
namespace {

// The name a changed item would be shown with: `next` when it is free, or its first free
// numbered form under automatic avoidance. A refused name is logged and shown as computed.
std::u16string shownName(const std::u16string& folder, const std::u16string& next, bool autoAvoid,
                         NameNumbers& numbers, NameLengthLimit& limit, ErrorLog& log) {
    if (auto reason = unsafeNameReason(next)) {
        log.appendLog(std::u16string(*reason) + u" - " + folder + visibleName(next) + u"\r\n");
        return next;
    }
    if (auto reason = limit.tooLong(folder, next)) {
        log.appendLog(*reason + u" - " + folder + next + u"\r\n");
        return next;
    }
    int form = autoAvoid ? numbers.firstForm(folder, next) : 0;
    std::u16string candidate = form == 0 ? next : numberedName(next, form);
    while (platform::exists(folder + candidate)) {
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
    // Nothing is renamed in a preview: the free form stays the first one to try.
    numbers.takenBelow(folder, next, form);
    return candidate;
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
    RunPlan& plan = job.plan;
    if (!plan.runnable())
        return;
    const std::size_t runCount = plan.count();
    PreviewResult& result = job.result;
    result.previewOld.resize(runCount);
    result.previewNew.resize(runCount);
    ErrorLog& log = plan.context.log;
    log.startCapture();

    plan.context.progress = &progress;
    progress.begin(runCount);
    for (std::size_t k = 0; k < runCount; ++k) {
        const ItemArgs item = plan.args(k);
        const std::u16string& name = plan.items->name(item.row);
        const std::u16string& folder = plan.items->folder(item.row);
        const std::u16string next(trimNewName(plan.page->transform(item, plan.context)));

        std::u16string shown =
            next == name ? std::u16string(u"変更無し")
                         : shownName(folder, next, plan.autoAvoid, job.numbers, job.limit, log);
        std::u16string captured = log.takeCaptured();
        result.previewOld[k] = name;
        result.previewNew[k] = captured.empty() ? std::move(shown) : std::move(captured);
        plan.done = k + 1;

        progress.step();
        if (progress.cancelled())
            break;
        if (k % 2 == 1)
            progress.advance(2);
    }
    progress.end();
    plan.context.progress = nullptr;
    log.endCapture();
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
