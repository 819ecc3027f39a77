// soramine-cli preview: the names a job would give, as the preview's "結果をコピー(&P)" text.

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/job.h"
#include "cli/terminal.h"
#include "cli/terminal_host.h"
#include "core/app/ini_file.h"
#include "core/engine/preview.h"
#include "core/engine/session.h"
#include "core/methods/method_list.h"
#include "core/text/strings.h"
#include "core/text/utf.h"

namespace soramine::cli {
namespace {

constexpr const char* kUsage =
    "使い方: soramine-cli preview JOB.qrn [--folder DIR] [--ext TEXT] [--rows LIST]\n"
    "                             [--allow-swaps] [--clipboard-file FILE]\n"
    "\n"
    "保存した設定ファイル (ジョブ) の「予測」を表示します。ファイルは変更しません。\n"
    "ジョブのフォルダを「取り込み」ボタンと同じ規則で取り込み、「結果をコピー」と同じ\n"
    "テキストを UTF-8 (改行 LF) で出力します:\n"
    "  変更前→変更後\n"
    "  (空行)\n"
    "  変更前の名前→変更後の名前 (一項目一行)\n"
    "\n"
    "  --folder DIR  ジョブのフォルダ名の代わりに DIR を取り込む\n"
    "  --ext TEXT    ジョブの拡張子の代わりに TEXT を使う (例: \"jpg gif\", \"* -txt\")\n"
    "  --rows LIST   「選択ファイルのみリネーム」のジョブで選択とみなす行 (1 から数える)\n"
    "                例: 1,3,5-7。このオプションのジョブには必須です\n"
    "  --allow-swaps run --allow-swaps の予測: 同じ実行の別の項目が明け渡す名前を空いている\n"
    "                ものとし、二つ以上の項目が同じ名前になるときは先の項目がその名前になります\n"
    "  --clipboard-file FILE\n"
    "                クリップボードの文字列の代わりに FILE の内容 (シフトJIS) を使う\n"
    "                (「テキスト」のクリップボード)。- なら標準入力から読む\n"
    "\n"
    "リネーム方式の設定はジョブのものを使い、[詳細設定] (禁則文字、読み取り、隠し、\n"
    "ソートなど) は設定ファイル (ソラミネ.ini) から読みます。取り込みは空の一覧への\n"
    "「新規」と同じです。フォルダモードのジョブはフォルダを項目にし、--ext は使えません。\n"
    "\n"
    "終了コード:\n"
    "  0  予測を表示した (取り込んだ項目がないときは見出しだけ)\n"
    "  1  Ctrl-C で中断した (計算済みの行まで表示し、残りの行は空)\n"
    "  2  始められなかった (使い方の誤り、ジョブを読めない、設定の検証エラー、取り込みエラー)\n";

// CR LF line ends as LF, for the terminal.
std::string terminalText(std::u16string text) {
    text::replaceAll(text, u"\r\n", u"\n");
    return text::toUtf8(text);
}

}  // namespace

int runPreview(const Args& args) {
    const auto line = parseCommandLine(args, jobOptions(), {kAllowSwapsOption});
    if (!line)
        return usageError(line.error(), kUsage);
    if (line->help)
        return showUsage(kUsage);
    const auto request = jobRequest(*line);
    if (!request)
        return usageError(request.error(), kUsage);
    RenameSession session(defaultIniFile(), makeMethodTable());
    if (!startJob(*request, session))
        return 2;

    TerminalHost host(std::nullopt, false, request->clipboardFile);
    TerminalProgress progress;
    const PreviewResult preview = previewRun(session, host, progress);
    if (preview.message) {
        printError(preview.message->text);
        return 2;
    }
    const std::string out = terminalText(previewClipboardText(preview));
    std::fwrite(out.data(), 1, out.size(), stdout);
    return progress.wasCancelled() ? 1 : 0;
}

}  // namespace soramine::cli
