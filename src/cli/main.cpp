// soramine-cli: the headless front end over the rename engine.

#include <cstdio>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "core/platform/process.h"

namespace {

using soramine::cli::Args;

struct Command {
    std::string_view word;
    int (*run)(const Args&);
    std::string_view summary;
};

constexpr Command kCommands[] = {
    {"list", soramine::cli::runList, "フォルダの項目を一覧表示します (取り込みと同じ規則)"},
    {"preview", soramine::cli::runPreview, "ジョブ (設定ファイル) の変更予測を表示します"},
    {"run", soramine::cli::runRun, "ジョブを実行して名前を変更します"},
    {"undo", soramine::cli::runUndo, "直前の run を元に戻します"},
    {"make-job", soramine::cli::runMakeJob, "ジョブ (設定ファイル) を書き出します"},
    {"show-job", soramine::cli::runShowJob, "ジョブの中身を表示します"},
    {"export", soramine::cli::runExport, "「テキスト」のジョブでリストを書き出します"},
    {"make-folders", soramine::cli::runMakeFolders,
     "ジョブのリネーム方式で名前を付けたフォルダを作成します"},
};

void printHelp() {
    std::fputs("使い方: soramine-cli コマンド [オプション] ...\n\nコマンド:\n", stdout);
    for (const auto& c : kCommands) {
        std::printf("  %-12.*s %.*s\n", static_cast<int>(c.word.size()), c.word.data(),
                    static_cast<int>(c.summary.size()), c.summary.data());
    }
    std::fputs(
        "\n各コマンドの詳しい使い方: soramine-cli コマンド --help\n"
        "  --version  バージョンを表示します\n"
        "\nその場で一つの名前を変えて終わる形:\n"
        "  soramine-cli C パス1 パス2         二つのファイルの名前を入れ替えます\n"
        "  soramine-cli /h /c|/m|/s パス      ファイル名を CRC32 / MD5 / SHA1 の値にします\n"
        "  soramine-cli /r 文字数 パス        ファイル名をランダムな文字 (1～255 文字) にします\n",
        stdout);
}

}  // namespace

int main(int argc, char** argv) {
    // Every command builds its tables once and then ends.
    soramine::platform::keepFreedMemory();
    if (argc < 2) {
        printHelp();
        return 2;
    }
    std::string_view first = argv[1];
    if (first == "--help" || first == "-h") {
        printHelp();
        return 0;
    }
    if (first == "--version") {
        std::printf("soramine-cli %s\n", SORAMINE_VERSION);
        return 0;
    }
    // The one-shot forms of the program's own command line, compared exactly ("c" is not "C").
    if (first == "C" || first == "/h" || first == "/r")
        return soramine::cli::runOneShot(Args(argv + 1, argv + argc));
    Args rest(argv + 2, argv + argc);
    for (const auto& c : kCommands) {
        if (c.word == first)
            return c.run(rest);
    }
    std::fprintf(stderr, "不明なコマンドです: %s\n", argv[1]);
    printHelp();
    return 2;
}
