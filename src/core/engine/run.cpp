#include "core/engine/run.h"

#include <algorithm>
#include <array>

#include "core/engine/session.h"
#include "core/engine/session_access.h"
#include "core/platform/clock.h"
#include "core/platform/fs.h"
#include "core/settings/history_box.h"
#include "core/text/strings.h"
#include "core/text/utf.h"

namespace soramine {

std::u16string_view trimNewName(std::u16string_view s) {
    auto trimTail = [&](char16_t c) {
        while (!s.empty() && s.back() == c)
            s.remove_suffix(1);
    };
    auto trimHead = [&](char16_t c) {
        while (!s.empty() && s.front() == c)
            s.remove_prefix(1);
    };
    trimTail(u' ');
    trimHead(u' ');
    trimTail(u'.');
    trimHead(u'.');
    return s;
}

std::optional<std::u16string_view> unsafeNameReason(std::u16string_view name) {
    if (name.empty())
        return u"ファイル名がありません";
    if (name == u"." || name == u".." ||
        name.find_first_of(std::u16string_view(u"/\0", 2)) != std::u16string_view::npos)
        return u"ファイル名に使えない文字が含まれています";
    return std::nullopt;
}

std::u16string numberedName(std::u16string_view name, int n) {
    const std::u16string counter = u"[" + text::decimal(n) + u"]";
    std::u16string out(name);
    const auto dot = name.rfind(u'.');
    out.insert(dot == std::u16string_view::npos ? out.size() : dot, counter);
    return out;
}

std::u16string visibleName(std::u16string_view name) {
    std::u16string out(name);
    std::replace(out.begin(), out.end(), u'\0', u'\u2400');
    return out;
}

bool acceptableName(const std::u16string& folder, std::u16string_view name, NameLengthLimit& limit,
                    ErrorLog& log) {
    if (auto reason = unsafeNameReason(name)) {
        log.appendLog(std::u16string(*reason) + u" - " + folder + visibleName(name) + u"\r\n");
        return false;
    }
    if (auto reason = limit.tooLong(folder, name)) {
        log.appendLog(*reason + u" - " + folder + std::u16string(name) + u"\r\n");
        return false;
    }
    return true;
}

std::optional<std::u16string> NameLengthLimit::tooLong(const std::u16string& folder,
                                                       std::u16string_view name) {
    if (!asked_ || folder != folder_) {
        folder_ = folder;
        limit_ = platform::longestNameBytes(folder);
        asked_ = true;
    }
    // A UTF-16 unit is at most three bytes: most names are measured without encoding them.
    if (!limit_ || name.size() * text::kMaxUtf8PerUnit <= *limit_)
        return std::nullopt;
    const std::size_t bytes = text::toUtf8(name).size();
    if (bytes <= *limit_)
        return std::nullopt;
    return u"ファイル名が長すぎます(" + text::decimal(static_cast<long long>(bytes)) + u" / " +
           text::decimal(static_cast<long long>(*limit_)) + u" バイト)";
}

namespace {

// The computed name that `name` is the numbered form n (>= 1) of, or nothing.
std::optional<std::pair<std::u16string, int>> numberedFormOf(std::u16string_view name) {
    const auto dot = name.rfind(u'.');
    const std::size_t end = dot == std::u16string_view::npos ? name.size() : dot;
    if (end < 3 || name[end - 1] != u']')
        return std::nullopt;
    const auto open = name.rfind(u'[', end - 1);
    if (open == std::u16string_view::npos || open + 2 > end - 1)
        return std::nullopt;
    long long n = 0;
    for (std::size_t i = open + 1; i + 1 < end; ++i) {
        const char16_t c = name[i];
        if (c < u'0' || c > u'9' || (i == open + 1 && c == u'0') || n > kHighestNumber)
            return std::nullopt;
        n = n * 10 + (c - u'0');
    }
    std::u16string base(name.substr(0, open));
    base += name.substr(end);
    return std::pair{std::move(base), static_cast<int>(n)};
}

}  // namespace

int NameNumbers::firstForm(const std::u16string& folder, std::u16string_view name) const {
    if (first_.empty())
        return 0;
    const auto it = first_.find(std::u16string(folder).append(name));
    return it == first_.end() ? 0 : it->second;
}

void NameNumbers::takenBelow(const std::u16string& folder, std::u16string_view name, int form) {
    if (form == 0)  // nothing new: every name starts at its form 0
        return;
    int& first = first_[std::u16string(folder).append(name)];
    first = std::max(first, form);
}

void NameNumbers::freed(const std::u16string& folder, std::u16string_view oldName) {
    if (first_.empty())
        return;
    first_.erase(std::u16string(folder).append(oldName));
    if (auto form = numberedFormOf(oldName)) {
        const auto it = first_.find(folder + form->first);
        if (it != first_.end())
            it->second = std::min(it->second, form->second);
    }
}

std::vector<std::size_t> runRows(const RenameSession& session, bool selectedOnly) {
    const std::size_t count = session.items().count();
    std::vector<std::size_t> rows;
    if (selectedOnly) {
        // The selection is sorted; rows past the end of the table take no part.
        const auto& selected = session.selection();
        rows.assign(selected.begin(), std::lower_bound(selected.begin(), selected.end(), count));
    } else {
        rows.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            rows[i] = i;
    }
    return rows;
}

RunLease& RunLease::operator=(RunLease&& other) noexcept {
    if (this != &other) {
        release();
        running_ = std::exchange(other.running_, nullptr);
    }
    return *this;
}

void RunLease::release() {
    if (running_)
        running_->store(false);
    running_ = nullptr;
}

ItemArgs RunPlan::args(std::size_t k) const {
    const std::size_t row = rows[k];
    return ItemArgs{items->name(row), items->folder(row), static_cast<int>(k),
                    static_cast<int>(row)};
}

RunPlan prepareRun(RenameSession& session, Host& host, bool commitHistories) {
    using Stop = RunPlan::Stop;
    RunPlan run;
    auto lease = SessionAccess::beginRun(session);
    if (!lease) {
        run.stop = Stop::kBusy;
        run.message = RenameSession::runningMessage();
        return run;
    }
    run.lease = std::move(*lease);
    run.page = session.currentPage();
    if (!run.page) {
        run.stop = Stop::kValidation;
        run.message = unknownMethodMessage();
        return run;
    }
    run.items = &session.items();
    run.context.env.folderMode = session.settings.folderMode != 0;
    run.context.env.fullWidthForbidden = session.detail.fullWidthForbidden != 0;
    run.context.random.seed(platform::tickCount());
    run.autoAvoid = session.settings.autoAvoid != 0;
    run.allowSwaps = session.settings.allowSwaps != 0;
    run.rows = runRows(session, session.settings.selectedOnly != 0);
    if (run.rows.empty()) {
        run.stop = Stop::kNoItems;
        return run;
    }
    // A page check may log (script syntax errors): its lines go to the session's log.
    run.context.log.clear();
    auto message = run.page->validate(run.context);
    if (message) {
        run.stop = Stop::kValidation;
        run.message = std::move(message);
        return run;
    }
    if (commitHistories) {
        for (HistoryBox* box : run.page->histories())
            commitBoxText(*box, session.detail.historyLimit);
    }
    std::size_t runCount = run.rows.size();
    message =
        run.page->prepare(RunItems{session.items(), run.rows}, run.context.env, host, runCount);
    if (message) {
        run.stop = Stop::kPreparation;
        run.message = std::move(message);
        return run;
    }
    if (runCount < run.rows.size())
        run.rows.resize(runCount);
    if (run.rows.empty())
        run.stop = Stop::kNoItems;
    return run;
}

Message unknownMethodMessage() {
    return errorMessage(u"リネーム方式が正しくありません");
}

}  // namespace soramine
