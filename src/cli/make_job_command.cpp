// soramine-cli make-job: writes a saved-settings file (a job) without the window.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/job.h"
#include "cli/terminal.h"
#include "core/engine/method_table.h"
#include "core/methods/method_list.h"
#include "core/settings/history_box.h"
#include "core/settings/settings_file.h"
#include "core/text/utf.h"

namespace soramine::cli {
namespace {

constexpr const char* kUsage =
    "使い方: soramine-cli make-job OUT.qrn --method NAME [--folder DIR] [--ext TEXT]\n"
    "                              [--flag NAME=0|1]... [--set KEY=VALUE]...\n"
    "\n"
    "設定ファイル (ジョブ) を書き出します。画面の「設定ファイルを保存」と同じ形式です。\n"
    "\n"
    "  --method NAME     リネーム方式の名前 (例: 置換, 連番, 追加)\n"
    "  --folder DIR      フォルダ名 (既定: 現在のフォルダ)\n"
    "  --ext TEXT        拡張子 (既定: *、フォルダモードでは「フォルダモード」)\n"
    "  --flag NAME=0|1   実行設定。NAME は設定ファイルのキー名:\n"
    "                    選択項目, 自動回避, サブフォルダ, 取り込み方式, バックアップ,\n"
    "                    フォルダモード, フォルダ作成, 移動, コピー (既定はすべて 0)\n"
    "  --set KEY=VALUE   リネーム方式の設定。KEY は設定ファイルのキー名、入力欄は履歴の名前\n"
    "                    (置換: 変更前, 変更後, 置換方法, 区別, 拡張子, 位置 など)。\n"
    "                    数値の設定には 10 進の整数を指定します\n"
    "\n"
    "指定しない設定は各リネーム方式の初期値になります。設定ファイル (ソラミネ.ini) の\n"
    "内容は使いません: ジョブがマシンごとの設定に左右されないようにするためです。\n"
    "中身の確認は soramine-cli show-job OUT.qrn で行えます。\n"
    "\n"
    "終了コード: 0 書き出した、2 使い方の誤り・使えない名前・書き出せない\n";

// "NAME=VALUE" split at its first "=", or nothing without one.
std::optional<std::pair<std::u16string, std::string>> assignment(const std::string& text) {
    const auto eq = text.find('=');
    if (eq == std::string::npos)
        return std::nullopt;
    return std::pair{text::fromUtf8(text.substr(0, eq)), text.substr(eq + 1)};
}

std::optional<std::int32_t> decimalNumber(const std::string& text) {
    std::int32_t value = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || p != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

template <class Names>
std::u16string joined(const Names& names) {
    std::u16string out;
    for (const auto& name : names)
        out += (out.empty() ? u"" : u", ") + std::u16string(name);
    return out;
}

int refuse(std::u16string_view text) {
    printError(text);
    return 2;
}

// Applies the --flag options; the message when one is refused.
std::optional<std::u16string> setFlags(const std::vector<std::string>& flags, MainSettings& out) {
    const auto fields = jobFlagFields();
    for (const auto& flag : flags) {
        const auto given = assignment(flag);
        if (!given)
            return u"--flag は NAME=0|1 の形で指定してください: " + text::fromUtf8(flag);
        const auto field = std::ranges::find(fields, given->first, &IniField<MainSettings>::key);
        if (field == fields.end()) {
            std::vector<std::u16string_view> names;
            for (const auto& f : fields)
                names.push_back(f.key);
            return u"不明なフラグです: " + given->first + u"\n使えるフラグ: " + joined(names);
        }
        if (given->second != "0" && given->second != "1")
            return u"フラグの値は 0 か 1 です: " + text::fromUtf8(flag);
        out.*field->number = given->second == "1" ? 1 : 0;
    }
    if (out.moveAfter && out.copyAfter)
        return std::u16string(u"「移動」と「コピー」は同時にオンにできません");
    return std::nullopt;
}

// Applies the --set options to the page; the message when one is refused.
std::optional<std::u16string> setPageSettings(const std::vector<std::string>& sets,
                                              MethodPage& page) {
    const std::vector<NamedSetting> named = page.namedSettings();
    for (const auto& set : sets) {
        const auto given = assignment(set);
        if (!given)
            return u"--set は KEY=VALUE の形で指定してください: " + text::fromUtf8(set);
        const auto setting = std::ranges::find(named, given->first, &NamedSetting::name);
        if (setting == named.end()) {
            std::vector<std::u16string_view> names;
            for (const auto& n : named)
                names.push_back(n.name);
            return u"不明な設定です: " + given->first + u"\n「" + std::u16string(page.comboText()) +
                   u"」の設定: " + joined(names);
        }
        if (setting->number) {
            const auto number = decimalNumber(given->second);
            if (!number)
                return u"数値を指定してください: " + text::fromUtf8(set);
            *setting->number = *number;
        } else {
            *setting->text = text::fromUtf8(given->second);
        }
    }
    return std::nullopt;
}

}  // namespace

int runMakeJob(const Args& args) {
    const auto line = parseCommandLine(args, {"--method", "--folder", "--ext", "--flag", "--set"});
    if (!line)
        return usageError(line.error(), kUsage);
    if (line->help)
        return showUsage(kUsage);
    if (line->positional.size() != 1)
        return usageError(u"書き出すジョブファイル (.qrn) を一つ指定してください", kUsage);
    const auto methodName = line->value("--method");
    if (!methodName)
        return usageError(u"--method でリネーム方式を指定してください", kUsage);

    MethodTable methods = makeMethodTable();
    const auto index = methods.indexOf(text::fromUtf8(*methodName));
    if (!index) {
        std::vector<std::u16string_view> names;
        for (int i = 0; i < static_cast<int>(methods.size()); ++i)
            names.push_back(methods.page(i)->comboText());
        return refuse(u"不明なリネーム方式です: " + text::fromUtf8(*methodName) +
                      u"\n使えるリネーム方式: " + joined(names));
    }
    MethodPage& page = *methods.page(*index);

    MainSettings options = defaultMainSettings();
    options.methodIndex = *index;
    if (auto message = setFlags(line->all("--flag"), options))
        return refuse(*message);
    if (auto message = setPageSettings(line->all("--set"), page))
        return refuse(*message);

    const auto extension = line->value("--ext");
    if (options.folderMode && extension)
        return refuse(u"フォルダモードのジョブには --ext を指定できません");
    const std::u16string folderText = absolutePath(line->value("--folder").value_or("."));
    std::u16string extensionText = extension ? text::fromUtf8(*extension) : u"*";
    if (options.folderMode)
        extensionText = kFolderModeText;  // what the extension box shows in folder mode
    if (auto message = saveSettingsFile(absolutePath(line->positional[0]), options, folderText,
                                        extensionText, page))
        return refuse(message->text);
    return 0;
}

}  // namespace soramine::cli
