#include "core/engine/run.h"

#include <algorithm>
#include <array>

#include "core/engine/session.h"
#include "core/settings/history_box.h"
#include "core/text/strings.h"

namespace soramine {

std::u16string trimNewName(std::u16string_view s) {
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
    return std::u16string(s);
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

Expected<TagFormat, Message> parseTagFormat(std::u16string_view format) {
    static constexpr std::array<std::u16string_view, 4> kTags = {u"$L", u"$A", u"$T", u"$N"};
    TagFormat f;
    std::size_t p = format.find(u'$');
    if (p == std::u16string_view::npos)
        return Unexpected{errorMessage(u"設定の形式が不正です(項目無し)")};
    int matched = 0;
    int slot = 0;
    int sep = 0;
    std::size_t prevEnd = 0;
    do {
        const auto tag = std::find(kTags.begin(), kTags.end(), format.substr(p, 2));
        if (tag != kTags.end()) {
            ++matched;
            f.tagSeparators[sep] = std::u16string(format.substr(prevEnd, p - prevEnd));
            if (matched != 1 && f.tagSeparators[sep].empty())
                return Unexpected{errorMessage(u"設定の形式が不正です(区切り無し)")};
            ++sep;
            if (slot == 0 && p != 0)
                slot = 1;
            f.tagOrder[slot++] = static_cast<int>(tag - kTags.begin());
            prevEnd = p + 2;
        }
        p = format.find(u'$', p + 1);
    } while (slot < 5 && p != std::u16string_view::npos);
    for (int i = 0; i < 5; ++i) {
        for (int j = i + 1; j < 5; ++j) {
            if (f.tagOrder[i] != -1 && f.tagOrder[i] == f.tagOrder[j])
                return Unexpected{errorMessage(u"設定の形式が不正です(同じ項目)\r\n")};
        }
    }
    return f;
}

int longestNameLength(const RunItems& items, bool ignoreExtension) {
    std::size_t longest = 0;
    for (std::size_t k = 0; k < items.count(); ++k) {
        std::u16string_view name = items.name(k);
        if (ignoreExtension)
            name.remove_suffix(text::extensionOf(name).size());
        longest = std::max(longest, name.size());
    }
    return static_cast<int>(longest);
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

PreparedRun prepareRun(RenameSession& session, MethodPage& page, const RunEnvironment& env,
                       Host& host, bool commitHistories) {
    using Stop = PreparedRun::Stop;
    PreparedRun run;
    run.rows = runRows(session, session.settings.selectedOnly != 0);
    if (run.rows.empty()) {
        run.stop = Stop::kNoItems;
        return run;
    }
    if (auto message = page.validate(env)) {
        run.stop = Stop::kValidation;
        run.message = std::move(message);
        return run;
    }
    if (commitHistories) {
        for (HistoryBox* box : page.histories())
            commitBoxText(*box, session.detail.historyLimit);
    }
    run.values.runCount = run.rows.size();
    if (auto message = page.prepare(RunItems{session.items(), run.rows}, env, host, run.values)) {
        run.stop = Stop::kPreparation;
        run.message = std::move(message);
        return run;
    }
    if (run.values.runCount < run.rows.size())
        run.rows.resize(run.values.runCount);
    if (run.rows.empty())
        run.stop = Stop::kNoItems;
    return run;
}

ItemArgs transformArgs(const PreparedRun& run, const ItemTable& items, std::size_t k) {
    const std::size_t row = run.rows[k];
    ItemArgs args;
    args.name = items.name(row);
    args.folder = items.folder(row);
    args.k = static_cast<int>(k);
    args.row = static_cast<int>(row);
    if (k < run.values.lines.size())
        args.line = run.values.lines[k];
    args.longestName = run.values.longestName;
    args.tagFormat = &run.values.tagFormat;
    return args;
}

Message unknownMethodMessage() {
    return errorMessage(u"リネーム方式が正しくありません");
}

}  // namespace soramine
