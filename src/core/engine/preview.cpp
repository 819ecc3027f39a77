#include "core/engine/preview.h"

#include "core/engine/session.h"
#include "core/platform/fs.h"

namespace soramine {
namespace {

// Closes the capture mode on every way out of the preview.
class CaptureScope {
  public:
    explicit CaptureScope(ErrorLog& log) : log_(log) { log_.startCapture(); }
    ~CaptureScope() { log_.endCapture(); }
    CaptureScope(const CaptureScope&) = delete;
    CaptureScope& operator=(const CaptureScope&) = delete;

  private:
    ErrorLog& log_;
};

// The name a changed item would be shown with: `next` when it is free, or its first free
// numbered form under automatic avoidance. A refused name is logged and shown as computed.
std::u16string shownName(const std::u16string& folder, const std::u16string& next, bool autoAvoid,
                         ErrorLog& log) {
    if (auto reason = unsafeNameReason(next)) {
        log.appendLog(std::u16string(*reason) + u" - " + folder + next + u"\r\n");
        return next;
    }
    std::u16string candidate = next;
    for (int n = 1; platform::exists(folder + candidate); ++n) {
        if (!autoAvoid) {
            log.appendLog(u"同名ファイルが存在します - " + folder + next + u"\r\n");
            return next;
        }
        candidate = numberedName(next, n);
        if (candidate.size() > kLongestNumberedName) {
            log.appendLog(u"ファイル名変更エラー - " + folder + next + u"\r\n");
            return next;
        }
    }
    return candidate;
}

}  // namespace

PreviewResult previewRun(RenameSession& session, Host& host, RunObserver& progress) {
    PreviewResult result;
    if (session.settings.folderCreation)
        return result;
    MethodPage* page = session.currentPage();
    if (!page) {
        result.message = unknownMethodMessage();
        return result;
    }
    CaptureScope capture(session.log);
    const RunEnvironment env = session.environment(true);
    PreparedRun run = prepareRun(session, *page, env, host, false);
    if (run.stop != PreparedRun::Stop::kNone) {
        result.message = std::move(run.message);
        return result;
    }

    session.timeStepOffset = 0;
    session.processedCount = 0;
    const std::size_t runCount = run.rows.size();
    result.previewOld.resize(runCount);
    result.previewNew.resize(runCount);
    const bool autoAvoid = session.settings.autoAvoid != 0;
    const ItemTable& items = session.items();
    // The slot is the items': a line logged while validating or preparing is no item's result.
    session.log.takeCaptured();

    progress.begin(runCount);
    for (std::size_t k = 0; k < runCount; ++k) {
        const std::size_t row = run.rows[k];
        const std::u16string& name = items.name(row);
        const std::u16string& folder = items.folder(row);
        result.previewOld[k] = name;

        const std::u16string next = trimNewName(page->transform(transformArgs(run, items, k), env));

        std::u16string shown = next == name ? std::u16string(u"変更無し")
                                            : shownName(folder, next, autoAvoid, session.log);
        std::u16string captured = session.log.takeCaptured();
        result.previewNew[k] = captured.empty() ? std::move(shown) : std::move(captured);

        progress.step();
        if (progress.cancelled())
            break;
        if (k % 2 == 1)
            progress.advance(2);
    }
    progress.end();
    return result;
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
