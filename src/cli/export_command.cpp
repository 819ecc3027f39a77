// soramine-cli export: the list export of the "テキスト" page ("リスト出力") for a job.

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/job.h"
#include "cli/terminal.h"
#include "core/app/ini_file.h"
#include "core/engine/session.h"
#include "core/methods/method_list.h"
#include "core/methods/text_lines.h"
#include "core/text/utf.h"

namespace soramine::cli {
namespace {

constexpr const char* kUsage =
    "使い方: soramine-cli export JOB.qrn [--out FILE] [--utf16] [--folder DIR] [--ext TEXT]\n"
    "                            [--rows LIST]\n"
    "\n"
    "リネーム方式「テキスト」のジョブの「リスト出力」を行います。ジョブのフォルダを\n"
    "「取り込み」ボタンと同じ規則で取り込み、項目の名前を一行に一つ書き出します\n"
    "(ジョブの「拡張子も含める」「フルパスを出力」に従い、各行は CR LF で終わります)。\n"
    "\n"
    "  --out FILE    FILE に書き出す (シフトJIS、--utf16 かジョブの「Unicode出力」が\n"
    "                オンなら BOM 付き UTF-16LE)。省略すると標準出力へ UTF-8 で出力します\n"
    "                (「クリップボードへ出力」の代わり)\n"
    "  --utf16       FILE を BOM 付き UTF-16LE で書き出す\n"
    "  --folder DIR  ジョブのフォルダ名の代わりに DIR を取り込む\n"
    "  --ext TEXT    ジョブの拡張子の代わりに TEXT を使う\n"
    "  --rows LIST   選択とみなす行 (1 から数える、例: 1,3,5-7)。ジョブの\n"
    "                「選択ファイルのみ」がオンなら必須です\n"
    "\n"
    "終了コード: 0 書き出した (項目がないときは何も書きません)、\n"
    "            2 始められなかった (使い方の誤り、ジョブを読めない、書き出せない)\n";

}  // namespace

int runExport(const Args& args) {
    const auto line = parseCommandLine(args, jobOptions({"--out"}), {"--utf16"});
    if (!line)
        return usageError(line.error(), kUsage);
    if (line->help)
        return showUsage(kUsage);
    auto request = jobRequest(*line);
    if (!request)
        return usageError(request.error(), kUsage);
    request->rowsForAnyJob = true;
    RenameSession session(defaultIniFile(), makeMethodTable());
    if (!startJob(*request, session))
        return 2;
    auto* page = dynamic_cast<TextLinesPage*>(session.currentPage());
    if (!page) {
        printError(u"リスト出力はリネーム方式「テキスト」のジョブにだけ使えます");
        return 2;
    }
    if (page->settings.exportSelected && !request->rows) {
        printError(
            u"このジョブは「選択ファイルのみ」がオンです。--rows で出力する行を指定して"
            u"ください (例: --rows 1,3,5-7)");
        return 2;
    }
    const std::optional<std::u16string> text = listExport(session, page->settings);
    if (!text)
        return 0;
    const auto out = line->value("--out");
    if (!out) {
        const std::string bytes = text::toUtf8(*text);
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        return 0;
    }
    const bool unicode = line->has("--utf16") || page->settings.exportUnicode;
    if (auto failed = saveListExport(absolutePath(*out), *text, unicode)) {
        printError(failed->text + u": " + text::fromUtf8(*out));
        return 2;
    }
    return 0;
}

}  // namespace soramine::cli
