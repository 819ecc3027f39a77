// soramine-cli undo: gives the items of the CLI's last run their former names again.

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/journal.h"
#include "cli/options.h"
#include "cli/terminal.h"
#include "cli/terminal_host.h"
#include "core/app/ini_file.h"
#include "core/engine/session.h"
#include "core/engine/undo.h"
#include "core/methods/method_list.h"
#include "core/platform/fs.h"
#include "core/text/strings.h"
#include "core/text/utf.h"

namespace soramine::cli {
namespace {

constexpr const char* kUsage =
    "使い方: soramine-cli undo\n"
    "\n"
    "soramine-cli run の直前の実行を「元に戻す」と同じ規則で元に戻します (一回だけ)。\n"
    "最後の項目から順に元の名前へ戻し、既存のファイルを置き換えることはありません。\n"
    "元の名前がすでに使われているときは「同名ファイルが存在します - 元のパス」をログに\n"
    "書いてその項目を残します。ログは「元に戻しました。」で終わります。\n"
    "Ctrl-C またはプロセスの強制終了で中断した実行も、名前を変更し終えた項目まで戻せます。\n"
    "記録 (設定フォルダの cli-undo.journal) は元に戻した後に消えます。\n"
    "タイムスタンプ・属性・バックアップ・移動・コピーは元に戻しません。\n"
    "\n"
    "終了コード:\n"
    "  0  すべての項目を元に戻した\n"
    "  1  元に戻せなかった項目があるか、Ctrl-C で中断した\n"
    "  2  元に戻す操作がない、または記録が読めない\n";

}  // namespace

int runUndo(const Args& args) {
    const auto line = parseCommandLine(args, {});
    if (!line)
        return usageError(line.error(), kUsage);
    if (line->help)
        return showUsage(kUsage);
    if (!line->positional.empty())
        return usageError(u"引数は要りません", kUsage);

    const std::u16string path = undoJournalPath();
    auto bytes = platform::readFile(path);
    if (!bytes) {
        printError(u"元に戻す操作はありません");
        return 2;
    }
    auto entries = parseJournal(*bytes);
    if (!entries) {
        printError(u"元に戻す記録が壊れています: " + path);
        return 2;
    }
    if (entries->empty()) {
        JournalWriter(path).discard();
        printError(u"元に戻す操作はありません");
        return 2;
    }

    RenameSession session(defaultIniFile(), makeMethodTable());
    UndoRecord record;
    for (auto& entry : *entries) {
        record.oldPaths.push_back(std::move(entry.from));
        record.newPaths.push_back(std::move(entry.to));
        record.renamed.push_back(true);
    }
    record.enabled = true;
    TerminalProgress progress;
    UndoJob job = startUndo(session, std::move(record));
    undoItems(job, progress);
    const UndoResult result = finishUndo(session, std::move(job));
    JournalWriter(path).discard();

    // Every item that kept its new name is in the log with the reason.
    std::u16string log = session.log().text();
    text::replaceAll(log, u"\r\n", u"\n");
    const bool complete = result.failures == 0 && !result.cancelled;
    const std::string out = text::toUtf8(log) + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (progress.wasCancelled())
        printError(u"中止しました");
    return complete ? 0 : 1;
}

}  // namespace soramine::cli
