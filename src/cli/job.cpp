#include "cli/job.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <vector>

#include "cli/terminal.h"
#include "core/engine/session.h"
#include "core/items/import.h"
#include "core/platform/fs.h"
#include "core/settings/settings_file.h"
#include "core/text/strings.h"
#include "core/text/utf.h"

namespace soramine::cli {
namespace {

bool fail(std::u16string_view text) {
    printError(text);
    return false;
}

std::optional<std::size_t> rowNumber(std::string_view text) {
    std::size_t value = 0;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || p != text.data() + text.size() || value == 0)
        return std::nullopt;
    return value;
}

// "1,3,5-7" as 0-based rows of a list of `count` rows; the message when it is not such a list.
Expected<std::vector<std::size_t>, std::u16string> parseRows(std::string_view list,
                                                             std::size_t count) {
    std::vector<std::size_t> rows;
    const std::u16string bad = u"行の指定が正しくありません: " + text::fromUtf8(list);
    while (true) {
        const auto comma = list.find(',');
        const std::string_view part = list.substr(0, comma);
        const auto dash = part.find('-');
        const auto first = rowNumber(part.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : rowNumber(part.substr(dash + 1));
        if (!first || !last || *last < *first)
            return Unexpected{bad};
        if (*last > count) {
            return Unexpected{u"行番号が範囲外です: " +
                              text::decimal(static_cast<long long>(*last)) + u" (項目数 " +
                              text::decimal(static_cast<long long>(count)) + u")"};
        }
        for (std::size_t row = *first; row <= *last; ++row)
            rows.push_back(row - 1);
        if (comma == std::string_view::npos)
            return rows;
        list.remove_prefix(comma + 1);
    }
}

// The folder text as an absolute path, so that the items (and the undo journal) name their
// files wherever the next command runs.
std::u16string absoluteFolder(const std::u16string& folder) {
    return absolutePath(text::toUtf8(folder));
}

}  // namespace

std::vector<IniField<MainSettings>> jobFlagFields() {
    std::vector<IniField<MainSettings>> flags;
    for (const auto& field : mainSettingsFields()) {
        if (field.number != &MainSettings::methodIndex &&
            std::ranges::find(kSavedOptionFields, field.number) != std::end(kSavedOptionFields))
            flags.push_back(field);
    }
    return flags;
}

std::vector<std::string_view> jobOptions(std::vector<std::string_view> more) {
    more.insert(more.begin(), {"--folder", "--ext", "--rows", "--clipboard-file"});
    return more;
}

Expected<JobRequest, std::u16string> jobRequest(const CommandLine& line) {
    if (line.positional.size() != 1)
        return Unexpected{std::u16string(u"ジョブファイル (.qrn) を一つ指定してください")};
    JobRequest request;
    request.path = absolutePath(line.positional[0]);
    if (auto folder = line.value("--folder"))
        request.folder = text::fromUtf8(*folder);
    if (auto extension = line.value("--ext"))
        request.extension = text::fromUtf8(*extension);
    request.rows = line.value("--rows");
    request.allowSwaps = line.has(kAllowSwapsOption);
    request.clipboardFile = line.value("--clipboard-file");
    return request;
}

std::optional<SavedSettings> loadJob(const JobRequest& request, RenameSession& session) {
    auto saved = readSettingsFile(request.path, session.methods.size());
    if (!saved) {
        printError(saved.error().text);
        return std::nullopt;
    }
    // The settings file is then read as missing; say why the user's settings do not count.
    if (auto trusted = platform::isTrustedFile(session.ini.path()); !trusted)
        printError(trusted.error());
    session.settings = readMainSettings(session.ini);
    takeSavedOptions(*saved, session.settings);
    session.settings.allowSwaps = request.allowSwaps;
    session.detail = readDetailSettings(session.ini);
    if (auto message =
            loadSavedPage(*saved, [&](int index) { return session.methods.page(index); })) {
        printError(message->text);
        return std::nullopt;
    }
    return std::move(*saved);
}

bool startJob(const JobRequest& request, RenameSession& session) {
    const std::optional<SavedSettings> saved = loadJob(request, session);
    if (!saved)
        return false;
    const std::u16string& folderText = request.folder ? *request.folder : saved->folderText;
    if (auto refused = refuseNul(folderText))
        return fail(*refused);

    MainSettings& options = session.settings;
    if (options.folderCreation)
        return fail(u"「フォルダ作成」のジョブは make-folders で実行してください");
    if (options.selectedOnly && !request.rows && !request.rowsForAnyJob) {
        return fail(
            u"このジョブは「選択ファイルのみリネーム」がオンです。--rows で対象の行を指定して"
            u"ください (例: --rows 1,3,5-7)");
    }
    if (!options.selectedOnly && request.rows && !request.rowsForAnyJob)
        return fail(u"--rows は「選択ファイルのみリネーム」がオンのジョブにだけ使えます");
    if (options.folderMode && request.extension)
        return fail(u"フォルダモードのジョブには --ext を指定できません");

    // The list of a new program is empty, so the import is always "新規": the folder mode
    // then follows the extension text, which shows "フォルダモード" in folder mode.
    options.importMode = 0;
    HistoryBox& folderBox = session.folderBox;
    HistoryBox& extensionBox = session.extensionBox;
    folderBox.text = absoluteFolder(folderText);
    extensionBox.text = options.folderMode ? std::u16string(kFolderModeText)
                                           : request.extension.value_or(saved->extensionText);
    std::optional<Message> message;
    std::vector<UnreadableFolder> unreadableFolders;
    // A new session runs nothing yet, so the change cannot be refused.
    (void)session.changeItems([&](ItemTable& table) {
        Importer importer(table, options, folderBox, extensionBox, session.detail.historyLimit);
        importer.leaveOutStatusColumns();  // a job shows names only
        message = importer.importFolder(session.detail);
        unreadableFolders = importer.unreadableFolders();
    });
    if (message)
        return fail(message->text);
    // A folder that could not be listed (missing, a file, not readable) would look like a
    // folder with nothing to rename.
    if (auto unreadable = unreadableFoldersText(unreadableFolders))
        return fail(*unreadable);

    if (request.rows) {
        auto rows = parseRows(*request.rows, session.items().count());
        if (!rows)
            return fail(rows.error());
        (void)session.setSelection(std::move(*rows));
    }
    return true;
}

}  // namespace soramine::cli
