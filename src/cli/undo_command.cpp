// soramine-cli undo: gives the items of the CLI's last run their former names again.

#include <charconv>
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/options.h"
#include "cli/terminal.h"
#include "cli/terminal_host.h"
#include "core/app/ini_file.h"
#include "core/engine/journal.h"
#include "core/engine/session.h"
#include "core/engine/undo.h"
#include "core/methods/method_list.h"
#include "core/platform/clock.h"
#include "core/platform/fs.h"
#include "core/platform/locked_file.h"
#include "core/text/strings.h"
#include "core/text/utf.h"

namespace soramine::cli {
namespace {

constexpr const char* kUsage =
    "使い方: soramine-cli undo [N]\n"
    "       soramine-cli undo --list\n"
    "\n"
    "soramine-cli run の実行を「元に戻す」と同じ規則で元に戻します。N を省くと最も新しい実行を、\n"
    "N を指定すると --list の N 番目の実行を戻します。\n"
    "最後の項目から順に元の名前へ戻し、既存のファイルを置き換えることはありません。\n"
    "項目ごとにディスク上の状態を見て決めます: 新しい名前のファイルがあり元の名前がなければ\n"
    "戻し、すでに元の名前なら何もしません。戻せない項目は理由とパスをログに書きます。\n"
    "ログは「元に戻しました。」で終わります。\n"
    "Ctrl-C やプロセスの強制終了で中断した実行も戻せます。中断した、または一部を戻せなかった\n"
    "「元に戻す」は記録を残すので、もう一度 undo を実行すると残りを続けます。\n"
    "記録 (設定フォルダの undo/) はすべての項目を戻した後に消えます。\n"
    "タイムスタンプ・属性・バックアップ・移動・コピーは元に戻しません。\n"
    "\n"
    "  --list   元に戻せる実行を新しい順に一覧します (番号、日時、フォルダ、元に戻せる項目数)\n"
    "\n"
    "終了コード:\n"
    "  0  すべての項目を元に戻した (--list は一覧を表示した)\n"
    "  1  元に戻せなかった項目があるか、Ctrl-C で中断した\n"
    "  2  元に戻す操作がない、番号が正しくない、または記録が読めない\n";

std::u16string timeText(std::int64_t seconds) {
    const auto t = platform::toLocalTime(platform::FileTime{seconds, 0});
    if (!t)
        return text::decimal(seconds);
    auto two = [](int v) { return text::decimal(100LL + v).substr(1); };
    return text::decimal(t->year) + u"-" + two(t->month) + u"-" + two(t->day) + u" " +
           two(t->hour) + u":" + two(t->minute) + u":" + two(t->second);
}

int listRuns(const std::vector<JournalInfo>& runs) {
    std::u16string out;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Journal& j = runs[i].journal;
        // Items, not renames: an item a swap parked under a temporary name counts once.
        const auto whole = readJournal(runs[i].path);
        const std::size_t count = undoableItems(whole ? *whole : j);
        out += text::decimal(static_cast<long long>(i + 1)) + u"\t" + timeText(j.started.seconds) +
               u"\t" + j.folder + u"\t" + text::decimal(static_cast<long long>(count)) + u"件\n";
    }
    const std::string bytes = text::toUtf8(out);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return 0;
}

}  // namespace

int runUndo(const Args& args) {
    const auto line = parseCommandLine(args, {}, {"--list"});
    if (!line)
        return usageError(line.error(), kUsage);
    if (line->help)
        return showUsage(kUsage);
    if (line->positional.size() > 1 || (line->has("--list") && !line->positional.empty()))
        return usageError(u"引数が多すぎます", kUsage);

    const std::vector<JournalInfo> runs = listJournals();
    if (line->has("--list"))
        return listRuns(runs);
    std::size_t index = 0;
    if (!line->positional.empty()) {
        const std::string& n = line->positional[0];
        const auto [p, ec] = std::from_chars(n.data(), n.data() + n.size(), index);
        if (ec != std::errc() || p != n.data() + n.size() || index == 0 || index > runs.size()) {
            printError(u"番号が正しくありません: " + text::fromUtf8(n) +
                       u" (soramine-cli undo --list で一覧できます)");
            return 2;
        }
        --index;
    }
    if (runs.empty()) {
        printError(u"元に戻す操作はありません");
        return 2;
    }
    RenameSession session(defaultIniFile(), makeMethodTable());
    TerminalProgress progress;
    UndoJob job = startJournalUndo(session, runs[index].path);
    if (job.message) {
        printError(job.message->text);
        return 2;
    }
    undoItems(job, progress);
    const UndoResult result = finishUndo(session, std::move(job));
    // Every item that kept its new name is in the log with the reason.
    std::u16string log = session.log().text();
    if (log.empty())
        log = u"元に戻しました。";
    text::replaceAll(log, u"\r\n", u"\n");
    const bool complete = result.failures == 0 && !result.cancelled;
    const std::string out = text::toUtf8(log) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (progress.wasCancelled())
        printError(u"中止しました");
    return complete ? 0 : 1;
}

}  // namespace soramine::cli
