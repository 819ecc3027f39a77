// soramine-cli show-job: what a saved-settings file (a job) holds, in make-job's names.

#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/job.h"
#include "cli/terminal.h"
#include "core/engine/method_table.h"
#include "core/methods/method_list.h"
#include "core/settings/settings_file.h"
#include "core/text/strings.h"
#include "core/text/utf.h"

namespace soramine::cli {
namespace {

constexpr const char* kUsage =
    "使い方: soramine-cli show-job JOB.qrn\n"
    "\n"
    "設定ファイル (ジョブ) の中身を一行に一つ、NAME=VALUE の形で表示します。名前は\n"
    "make-job と同じです: method, folder, ext、実行設定のフラグ (選択項目, 自動回避, ...)、\n"
    "リネーム方式の設定 (キー名または入力欄の履歴の名前)。\n"
    "\n"
    "終了コード: 0 表示した、2 使い方の誤り・ジョブを読めない\n";

}  // namespace

int runShowJob(const Args& args) {
    const auto line = parseCommandLine(args, {});
    if (!line)
        return usageError(line.error(), kUsage);
    if (line->help)
        return showUsage(kUsage);
    if (line->positional.size() != 1)
        return usageError(u"ジョブファイル (.qrn) を一つ指定してください", kUsage);

    // A fresh table: the page shows the job's settings over its defaults, not the user's.
    MethodTable methods = makeMethodTable();
    auto saved = loadSettingsFile(absolutePath(line->positional[0]), methods.size(),
                                  [&](int index) { return methods.page(index); });
    if (!saved) {
        printError(saved.error().text);
        return 2;
    }
    MethodPage& page = *methods.page(saved->options.methodIndex);

    std::u16string out = u"method=" + std::u16string(page.comboText()) + u"\nfolder=" +
                         saved->folderText + u"\next=" + saved->extensionText + u"\n";
    for (const auto& flag : jobFlagFields())
        out += std::u16string(flag.key) + u"=" + text::decimal(saved->options.*flag.number) + u"\n";
    for (const NamedSetting& setting : page.namedSettings()) {
        out += std::u16string(setting.name) + u"=" +
               (setting.number ? text::decimal(*setting.number) : *setting.text) + u"\n";
    }
    const std::string bytes = text::toUtf8(out);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return 0;
}

}  // namespace soramine::cli
