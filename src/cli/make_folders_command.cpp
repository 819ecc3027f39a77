// soramine-cli make-folders: folder creation ("フォルダ作成") with a job's naming method.

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/job.h"
#include "cli/terminal.h"
#include "cli/terminal_host.h"
#include "core/app/ini_file.h"
#include "core/engine/folder_maker.h"
#include "core/engine/session.h"
#include "core/methods/method_list.h"
#include "core/platform/fs.h"
#include "core/text/strings.h"
#include "core/text/utf.h"

namespace soramine::cli {
namespace {

constexpr const char* kUsage =
    "使い方: soramine-cli make-folders JOB.qrn --dest DIR [--count N] [--nested]\n"
    "                                  [--clipboard-file FILE]\n"
    "\n"
    "「フォルダ作成」を行います。ジョブのリネーム方式 (連番、テキスト、ランダムのいずれか)\n"
    "と設定でフォルダ名を作り、DIR の中に新しいフォルダを作成します。名前は空の名前を\n"
    "変更したものになります (連番は番号の順、テキストは一行目から、ランダムは一つずつ)。\n"
    "ジョブのフォルダ名、拡張子と一覧は使いません。\n"
    "\n"
    "  --dest DIR     フォルダの作成先 (「フォルダの作成先を選択して下さい」で選ぶフォルダ)\n"
    "  --count N      作成個数 (2～16、既定は 2)。「テキスト」では行数より多くは作りません\n"
    "  --nested       「連続階層」: 各フォルダを一つ前のフォルダの中に作ります\n"
    "                 (既定は「同一階層」: DIR の中に並べて作ります)\n"
    "  --clipboard-file FILE\n"
    "                 クリップボードの文字列の代わりに FILE の内容 (シフトJIS) を使う\n"
    "                 (「テキスト」のクリップボード)。- なら標準入力から読む\n"
    "\n"
    "既にあるファイルやフォルダは上書きも削除もしません。作成できなかったフォルダ\n"
    "(同じ名前がある、名前にならない) は「理由 - パス」の形でエラーログに出力し、\n"
    "ほかのフォルダは作成します。作成したフォルダのパスを一行に一つ出力し、最後に\n"
    "結果のメッセージとエラーログを出力します。\n"
    "\n"
    "終了コード:\n"
    "  0  すべてのフォルダを作成した\n"
    "  1  作成できなかったフォルダがある\n"
    "  2  始められなかった (使い方の誤り、ジョブを読めない、作成先がない、作成個数の誤り、\n"
    "     フォルダ作成に使えないリネーム方式、設定の検証エラー)\n";

void printOut(std::u16string text) {
    text::replaceAll(text, u"\r\n", u"\n");
    const std::string out = text::toUtf8(text);
    std::fwrite(out.data(), 1, out.size(), stdout);
}

}  // namespace

int runMakeFolders(const Args& args) {
    const auto line =
        parseCommandLine(args, {"--dest", "--count", "--clipboard-file"}, {"--nested"});
    if (!line)
        return usageError(line.error(), kUsage);
    if (line->help)
        return showUsage(kUsage);
    const auto request = jobRequest(*line);
    if (!request)
        return usageError(request.error(), kUsage);
    const auto destValue = line->value("--dest");
    if (!destValue)
        return usageError(u"--dest で作成先のフォルダを指定してください", kUsage);
    FolderLayout layout{line->has("--nested") ? 1 : 0, kFewestFolders};
    if (const auto countValue = line->value("--count")) {
        const auto count = folderCount(text::fromUtf8(*countValue));
        if (!count)
            return usageError(count.error().text + u" (2～16): " + text::fromUtf8(*countValue),
                              kUsage);
        layout.count = *count;
    }
    const std::u16string dest = absolutePath(*destValue);
    if (auto refused = refuseNul(dest)) {
        printError(*refused);
        return 2;
    }
    const auto entry = platform::lookUp(dest);
    if (!entry || !entry->isFolder) {
        printError(u"フォルダが見つかりません: " + dest);
        return 2;
    }

    RenameSession session(defaultIniFile(), makeMethodTable());
    if (!loadJob(*request, session))
        return 2;
    if (!namesFolders(session.methods, session.settings.methodIndex)) {
        printError(
            u"フォルダ作成できるリネーム方式ではありません (フォルダ作成に使えるのは連番、"
            u"テキスト、ランダムのジョブです)");
        return 2;
    }
    TerminalHost host(dest, false, request->clipboardFile);
    FolderCreation job = startFolderCreation(session, host);
    if (!job.ready()) {
        printError(job.message->text);
        printOut(session.log().text());
        return 2;
    }
    const auto parent = chooseFolderParent(session, host);
    const FolderCreationResult result = createFolders(session, job, *parent, layout);
    std::u16string out;
    for (const std::u16string& folder : result.created)
        out.append(folder).append(u"\n");
    out.append(result.message.text).append(u"\n").append(session.log().text());
    printOut(std::move(out));
    return result.failures == 0 ? 0 : 1;
}

}  // namespace soramine::cli
