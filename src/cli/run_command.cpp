// soramine-cli run: executes a job, as "実　行(&D)" does, and keeps its undo journal.

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/job.h"
#include "cli/terminal.h"
#include "cli/terminal_host.h"
#include "core/app/ini_file.h"
#include "core/engine/execute.h"
#include "core/engine/journal.h"
#include "core/engine/session.h"
#include "core/items/import.h"
#include "core/methods/method_list.h"
#include "core/platform/fs.h"
#include "core/text/strings.h"
#include "core/text/utf.h"

namespace soramine::cli {
namespace {

constexpr const char* kUsage =
    "使い方: soramine-cli run JOB.qrn [--folder DIR] [--ext TEXT] [--rows LIST]\n"
    "                         [--dest DIR] [--overwrite] [--allow-swaps]\n"
    "                         [--clipboard-file FILE]\n"
    "\n"
    "保存した設定ファイル (ジョブ) を「実行」します。ジョブのフォルダを「取り込み」ボタンと\n"
    "同じ規則で取り込み、ジョブのリネーム方式と設定で名前を変更して、\n"
    "「実行結果　(処理数 / 対象数) 処理しました。」の行とエラーログを出力します。\n"
    "\n"
    "  --folder DIR   ジョブのフォルダ名の代わりに DIR を取り込む\n"
    "  --ext TEXT     ジョブの拡張子の代わりに TEXT を使う (例: \"jpg gif\", \"* -txt\")\n"
    "  --rows LIST    「選択ファイルのみリネーム」のジョブで選択とみなす行 (1 から数える)\n"
    "                 例: 1,3,5-7。このオプションのジョブには必須です\n"
    "  --clipboard-file FILE\n"
    "                 クリップボードの文字列の代わりに FILE の内容 (シフトJIS) を使う\n"
    "                 (「テキスト」のクリップボード)。- なら標準入力から読む\n"
    "  --dest DIR     「リネーム後移動」「リネーム後コピー」のジョブの移動先 (コピー先)。\n"
    "                 このオプションのジョブには必須です\n"
    "  --overwrite    移動先 (コピー先) に同名のファイルがあるとき上書きする\n"
    "                 (既定では上書きせず、その項目はそのまま残します)\n"
    "  --allow-swaps  項目どうしの名前の入れ替え・ずらし・循環を許可する: 新しい名前が\n"
    "                 同じ実行の別の項目の今の名前なら、その項目が先に名前を変えます\n"
    "                 (file100→file101 の後に file099→file100)。a→b と b→a のような循環は\n"
    "                 一つの項目を同じフォルダの一時的な名前に移してから行います\n"
    "\n"
    "リネーム方式の設定はジョブのものを使い、[詳細設定] は設定ファイル (ソラミネ.ini) から\n"
    "読みます。取り込みは空の一覧への「新規」と同じです。フォルダモードのジョブはフォルダを\n"
    "項目にし、--ext は使えません。「フォルダ作成」のジョブは make-folders で実行します。\n"
    "Ctrl-C で「中止」と同じく、処理中の項目の後で止まります。\n"
    "\n"
    "名前を変更する前に、その変更が実行ごとの記録 (設定フォルダの undo/ にあるファイル) に\n"
    "書き込まれます。soramine-cli undo で元に戻せます (中断した実行や、同時に行った別の実行も\n"
    "それぞれ元に戻せます)。\n"
    "\n"
    "終了コード:\n"
    "  0  対象の項目をすべて処理した (名前が変わらない項目は失敗ではありません)\n"
    "  1  処理できなかった項目がある (エラーログ、移動・コピーできなかった項目) か、\n"
    "     Ctrl-C で中断した\n"
    "  2  始められなかった (使い方の誤り、ジョブを読めない、設定の検証エラー、取り込みエラー)\n";

std::string terminalText(std::u16string text) {
    text::replaceAll(text, u"\r\n", u"\n");
    return text::toUtf8(text);
}

void printOut(const std::u16string& text) {
    const std::string out = terminalText(text);
    std::fwrite(out.data(), 1, out.size(), stdout);
}

// The destination the job needs: --dest exactly when it moves or copies after the run.
bool checkDestination(const MainSettings& options, const std::optional<std::u16string>& dest) {
    const bool transfer = options.moveAfter || options.copyAfter;
    if (transfer && !dest) {
        printError(options.moveAfter ? u"このジョブは「リネーム後移動」がオンです。--dest "
                                       u"で移動先のフォルダを指定してください"
                                     : u"このジョブは「リネーム後コピー」がオンです。--dest "
                                       u"でコピー先のフォルダを指定してください");
        return false;
    }
    if (!transfer && dest) {
        printError(
            u"--dest は「リネーム後移動」か「リネーム後コピー」がオンのジョブにだけ使えます");
        return false;
    }
    if (dest) {
        const auto entry = platform::lookUp(*dest);
        if (!entry || !entry->isFolder) {
            printError(u"フォルダが見つかりません: " + *dest);
            return false;
        }
    }
    return true;
}

}  // namespace

int runRun(const Args& args) {
    const auto line =
        parseCommandLine(args, jobOptions({"--dest"}), {"--overwrite", kAllowSwapsOption});
    if (!line)
        return usageError(line.error(), kUsage);
    if (line->help)
        return showUsage(kUsage);
    const auto request = jobRequest(*line);
    if (!request)
        return usageError(request.error(), kUsage);
    std::optional<std::u16string> dest;
    if (auto value = line->value("--dest"))
        dest = absolutePath(*value);

    // The session is left to the end of the process: freeing its tens of thousands of texts
    // one by one would only delay the exit, and the system takes the memory back at once. The
    // pointer stays reachable, so leak checkers do not count it.
    static RenameSession* const kept = new RenameSession(defaultIniFile(), makeMethodTable());
    RenameSession& session = *kept;
    if (!startJob(*request, session) || !checkDestination(session.settings, dest))
        return 2;
    // The result line and the log are always printed, as with "変更後にログを表示する" on.
    session.detail.showLog = 1;

    // The items are imported: as the import button does, that ends the previous undo record.
    TerminalHost host(dest, line->has("--overwrite"), request->clipboardFile);
    TerminalProgress shown;
    JournalWriter journal;
    JournallingObserver progress(journal, shown);
    ExecutionJob job = startExecution(session, host);
    if (job.plan.runnable()) {
        if (auto problem = startJournal(journal, session)) {
            printError(problem->text);
            return 2;
        }
        executeItems(job, progress);
    }
    const ExecuteResult result = finishExecution(session, std::move(job), host);
    endJournal(journal, session);
    if (dest && session.settings.destination == *dest)
        writeDestination(session.ini, *dest);
    if (result.message) {
        printError(result.message->text);
        if (result.showResult)
            printOut(session.log().text());
        return 2;
    }
    if (!result.showResult) {
        printError(u"対象の項目がありません");
        return 0;
    }
    printOut(result.resultLine + u"\n" + session.log().text());
    if (progress.failed())
        printError(u"元に戻す記録を書き込めませんでした: " + journal.path());
    else if (shown.wasCancelled())
        printError(u"中止しました");
    const bool incomplete =
        result.failures != 0 || result.cancelled || progress.failed() || host.problems() != 0;
    return incomplete ? 1 : 0;
}

}  // namespace soramine::cli
