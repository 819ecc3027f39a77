// soramine-cli list: imports paths the way the import button or the command line does and
// prints the rows.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/commands.h"
#include "cli/terminal.h"
#include "core/app/detail_settings.h"
#include "core/app/ini_file.h"
#include "core/app/main_settings.h"
#include "core/engine/session.h"
#include "core/items/import.h"
#include "core/platform/fs.h"
#include "core/platform/process.h"
#include "core/text/utf.h"

namespace soramine::cli {
namespace {

constexpr const char* kUsage =
    "使い方: soramine-cli list [--subfolders] [--folder-mode] [--ext TEXT] [--sort] [--add] "
    "[--order ORDER] PATH...\n"
    "\n"
    "PATH がフォルダ一つなら「取り込み」ボタンと同じ規則で、複数ならコマンドラインと同じ規則で\n"
    "項目を集め、一行に一項目を タブ区切り (ファイル名, フォルダ名, 作成日時, 更新日時, "
    "ファイルサイズ) で表示します。\n"
    "\n"
    "  --subfolders   サブフォルダも含める\n"
    "  --folder-mode  フォルダモード (フォルダを項目にする)\n"
    "  --ext TEXT     拡張子 (既定: *)  例: \"jpg gif\", \"* -txt\"\n"
    "  --sort         取り込んだ項目をまとめてファイル名順に並べる\n"
    "  --add          取り込み方式「追加」\n"
    "  --order ORDER  取り込んだ後、並べ替えメニューと同じく並べ替える:\n"
    "                 name-desc, name-asc, folder-desc, folder-asc (ファイル名・フォルダ名),\n"
    "                 created-old, created-new, modified-old, modified-new (作成・更新日時),\n"
    "                 exif-old, exif-new (Exif情報の撮影日時)。ログは標準エラーへ\n"
    "\n"
    "読み取り専用・システム・隠し項目の扱いと並べ替えは設定ファイルの [詳細設定] に従います。\n";

// Writes the rows through one buffer: a field is converted straight into it, and the date
// texts lose their line feed.
class RowPrinter {
  public:
    ~RowPrinter() { flush(); }
    void field(std::u16string_view v, char end) {
        if (!v.empty() && v.back() == u'\n')
            v.remove_suffix(1);
        if (used_ + text::kMaxUtf8PerUnit * v.size() + 1 > sizeof buffer_)
            flush();
        if (text::kMaxUtf8PerUnit * v.size() + 1 > sizeof buffer_) {  // a field too long to buffer
            std::string big = text::toUtf8(v) + end;
            std::fwrite(big.data(), 1, big.size(), stdout);
            return;
        }
        char* p = text::writeUtf8(v, buffer_ + used_);
        *p++ = end;
        used_ = static_cast<size_t>(p - buffer_);
    }
    void flush() {
        std::fwrite(buffer_, 1, used_, stdout);
        used_ = 0;
    }

  private:
    char buffer_[1 << 16];
    size_t used_ = 0;
};

// The sort menu's commands by their option names.
struct Order {
    std::string_view name;
    std::optional<ItemTable::Column> column;  // a text sort, else a time sort
    SortTime time;
    bool descending;  // a time sort: newest first
};
constexpr Order kOrders[] = {
    {"name-desc", ItemTable::kName, {}, true},
    {"name-asc", ItemTable::kName, {}, false},
    {"folder-desc", ItemTable::kFolder, {}, true},
    {"folder-asc", ItemTable::kFolder, {}, false},
    {"created-old", std::nullopt, SortTime::kCreated, false},
    {"created-new", std::nullopt, SortTime::kCreated, true},
    {"modified-old", std::nullopt, SortTime::kModified, false},
    {"modified-new", std::nullopt, SortTime::kModified, true},
    {"exif-old", std::nullopt, SortTime::kShootingDate, false},
    {"exif-new", std::nullopt, SortTime::kShootingDate, true},
};

// Sorts as the sort menu does; a time sort's report goes to standard error.
void sortItems(RenameSession& session, const Order& order) {
    if (order.column) {
        (void)session.changeItems(
            [&](ItemTable& t) { t.sort(*order.column, ItemTable::compareText, order.descending); });
        return;
    }
    (void)session.sortByTime(order.time, order.descending);
    if (!session.log().text().empty())
        printError(session.log().text());
}

void printRows(const ItemTable& table) {
    RowPrinter out;
    for (size_t i = 0; i < table.count(); ++i) {
        out.field(table.name(i), '\t');
        out.field(table.folder(i), '\t');
        out.field(table.created(i), '\t');
        out.field(table.modified(i), '\t');
        out.field(table.size(i), '\n');
    }
}

}  // namespace

int runList(const Args& args) {
    MainSettings main = defaultMainSettings();
    bool folderModeFlag = false, sort = false;
    const Order* order = nullptr;
    std::u16string extension = u"*";
    std::vector<std::u16string> paths;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--subfolders") {
            main.subfolders = 1;
        } else if (a == "--folder-mode") {
            folderModeFlag = true;
        } else if (a == "--sort") {
            sort = true;
        } else if (a == "--add") {
            main.importMode = 1;
        } else if (a == "--order" && i + 1 < args.size()) {
            const std::string& wanted = args[++i];
            order = nullptr;
            for (const Order& o : kOrders) {
                if (o.name == wanted)
                    order = &o;
            }
            if (!order) {
                printError(u"不明な並べ替えです: " + text::fromUtf8(wanted));
                return 2;
            }
        } else if (a == "--ext" && i + 1 < args.size()) {
            extension = text::fromUtf8(args[++i]);
        } else if (a.rfind("--ext=", 0) == 0) {
            extension = text::fromUtf8(a.substr(6));
        } else if (a.size() > 1 && a[0] == '-' && a != "-") {
            printError(u"不明なオプションです: " + text::fromUtf8(a));
            std::fputs(kUsage, stderr);
            return 2;
        } else {
            paths.push_back(absolutePath(a));
        }
    }
    if (paths.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // The session of a list without methods: its options, detail settings and the folder and
    // extension boxes are those the import button works with.
    RenameSession session(defaultIniFile(), MethodTable());
    session.detail = readDetailSettings(session.ini);
    if (sort)
        session.detail.sortOnImport = 1;
    main.folderMode = folderModeFlag ? 1 : 0;
    session.settings = main;
    session.extensionBox.text = folderModeFlag ? std::u16string(kFolderModeText) : extension;

    for (const auto& p : paths) {
        if (!p.empty() && !platform::exists(p)) {
            printError(u"見つかりません: " + p);
            return 2;
        }
    }
    std::optional<Message> message;
    std::vector<UnreadableFolder> unreadableFolders;
    // A new session runs nothing, so the change cannot be refused.
    (void)session.changeItems([&](ItemTable& table) {
        Importer importer(table, session.settings, session.folderBox, session.extensionBox,
                          session.detail.historyLimit);
        if (paths.size() == 1) {
            session.folderBox.text = paths[0];
            message = importer.importFolder(session.detail);
        } else {
            importer.importPaths(paths, PathSource::CommandLine, session.detail);
        }
        unreadableFolders = importer.unreadableFolders();
    });
    if (message) {
        printError(message->text);
        return 2;
    }
    if (auto unreadable = unreadableFoldersText(unreadableFolders)) {
        printError(*unreadable);
        return 2;
    }
    if (order)
        sortItems(session, *order);
    printRows(session.items());
    // The rows are left to the end of the process: freeing a hundred thousand rows one by
    // one costs as much as reading them.
    std::fflush(stdout);
    std::_Exit(std::ferror(stdout) ? 1 : 0);
}

}  // namespace soramine::cli
