#include "core/engine/execute.h"

#include <algorithm>

#include "core/engine/session.h"
#include "core/platform/fs.h"
#include "core/text/forbidden_chars.h"
#include "core/text/strings.h"

namespace soramine {
namespace {

// Renames the item at `from` (in `folder`) to `next`, or under automatic avoidance to the
// first free numbered form of it. The name the item got, or nothing after a logged failure;
// the log names the computed name, never a numbered form.
std::optional<std::u16string> renameItem(const std::u16string& from, const std::u16string& folder,
                                         const std::u16string& next, bool autoAvoid, ErrorLog& log,
                                         RunObserver& progress) {
    if (auto reason = unsafeNameReason(next)) {
        log.appendLog(std::u16string(*reason) + u" - " + folder + next + u"\r\n");
        return std::nullopt;
    }
    std::u16string candidate = next;
    for (int n = 1;; ++n) {
        progress.step();
        const platform::Status renamed = platform::renameNoReplace(from, folder + candidate);
        if (renamed)
            return candidate;
        if (!autoAvoid || !platform::isAlreadyExists(renamed.error())) {
            log.appendLog(platform::systemErrorText(renamed.error()) + u" - " + folder + next +
                          u"\r\n");
            return std::nullopt;
        }
        candidate = numberedName(next, n);
        if (candidate.size() > kLongestNumberedName) {
            log.appendLog(u"ファイル名変更エラー - " + folder + next + u"\r\n");
            return std::nullopt;
        }
    }
}

std::u16string resultLine(int processed, std::size_t runCount) {
    return u"実行結果　(" + text::decimal(processed) + u" / " +
           text::decimal(static_cast<long long>(runCount)) + u") 処理しました。";
}

// The INI key of the last destination ("移動先"), from the main settings' key table.
const IniField<MainSettings>& destinationField() {
    const auto fields = mainSettingsFields();
    return *std::find_if(fields.begin(), fields.end(),
                         [](const auto& f) { return f.text == &MainSettings::destination; });
}

// The destination folder with exactly one separator at its end.
std::u16string folderPath(std::u16string_view destination) {
    while (!destination.empty() && destination.back() == platform::kSeparator)
        destination.remove_suffix(1);
    return std::u16string(destination) + platform::kSeparator;
}

Message overwriteQuestion(const std::u16string& name) {
    return Message{name + u"\r\n\r\n移動先に同名ファイルが存在します。\r\n上書きしますか？",
                   u"確認", Icon::Question};
}

// Moves an existing file out of the way to a free name beside it, so that it can be put back
// when the move meant to replace it fails (or turns out to be the source itself, reached
// through another path).
std::optional<std::u16string> setAside(const std::u16string& target) {
    for (int n = 1; n <= 100; ++n) {
        std::u16string aside = target + u".~" + text::decimal(n);
        const platform::Status renamed = platform::renameNoReplace(target, aside);
        if (renamed)
            return aside;
        if (!platform::isAlreadyExists(renamed.error()))
            return std::nullopt;
    }
    return std::nullopt;
}

// Copies a file, or a folder with everything in it. A folder is listed before its copy is
// made, so a destination inside the source is never copied into itself.
bool copyEntry(const std::u16string& from, const std::u16string& to, bool overwrite) {
    const auto info = platform::lookUp(from);
    if (!info)
        return false;
    if (!info->isFolder)
        return platform::copyFile(from, to, overwrite).ok();
    std::vector<std::u16string> names;
    if (!platform::listFolder(from + platform::kSeparator,
                              [&](platform::EntryInfo& e) { names.push_back(std::move(e.name)); }))
        return false;
    const platform::Status made = platform::makeFolder(to);
    if (!made && !(overwrite && platform::isAlreadyExists(made.error())))
        return false;
    bool copied = true;
    for (const auto& name : names) {
        copied = copyEntry(from + platform::kSeparator + name, to + platform::kSeparator + name,
                           overwrite) &&
                 copied;
    }
    return copied;
}

}  // namespace

ExecuteResult executeRun(RenameSession& session, Host& host, RunObserver& progress) {
    ExecuteResult result;
    ErrorLog& log = session.log;
    log.clear();
    if (session.settings.folderCreation) {
        result.message = errorMessage(u"フォルダ作成はまだ使用できません");
        return result;
    }
    MethodPage* page = session.currentPage();
    if (!page) {
        result.message = unknownMethodMessage();
        return result;
    }
    const RunEnvironment env = session.environment(false);
    PreparedRun run = prepareRun(session, *page, env, host, true);
    switch (run.stop) {
        case PreparedRun::Stop::kNone:
            break;
        case PreparedRun::Stop::kNoItems:
            return result;
        case PreparedRun::Stop::kValidation:
            // A page check may have logged (script syntax errors): the log is shown then.
            result.message = std::move(run.message);
            result.showResult = session.detail.showLog && !log.text().empty();
            return result;
        case PreparedRun::Stop::kPreparation:
            result.message = std::move(run.message);
            return result;
    }

    const std::size_t runCount = run.rows.size();
    UndoRecord& undo = session.runUndo();
    undo = UndoRecord();
    undo.undoOldPaths.resize(runCount);
    undo.undoNewPaths.resize(runCount);
    undo.renamed.resize(runCount);
    session.processedCount = 0;
    session.timeStepOffset = 0;
    const bool autoAvoid = session.settings.autoAvoid != 0;
    const bool backup = session.settings.backup != 0;
    const bool transfer = session.settings.moveAfter || session.settings.copyAfter;
    std::vector<std::size_t> transferRows;
    ItemTable& items = session.runItems();

    progress.begin(runCount);
    for (std::size_t k = 0; k < runCount; ++k) {
        const std::size_t row = run.rows[k];
        const std::u16string& name = items.name(row);
        const std::u16string& folder = items.folder(row);
        std::u16string& oldPath = undo.undoOldPaths[k];
        oldPath = folder + name;
        if (backup)
            (void)platform::copyFile(oldPath, oldPath + u".bak", true);

        const std::u16string computed = page->transform(transformArgs(run, items, k), env);
        const std::u16string next = trimNewName(computed);
        std::optional<std::u16string> got;
        if (next != name)
            got = renameItem(oldPath, folder, next, autoAvoid, log, progress);
        // The record keeps the name the item got, else the computed one before trimming.
        undo.undoNewPaths[k] = folder + (got ? *got : computed);
        if (got) {
            undo.renamed[k] = true;
            progress.renamed(k, oldPath, undo.undoNewPaths[k]);
            items.setName(row, std::move(*got));  // `name` refers to the new name from here
            if (transfer)
                transferRows.push_back(row);
            ++session.processedCount;
        }

        progress.step();
        if (progress.cancelled())
            break;
        if (k % 2 == 1)
            progress.advance(2);
    }
    progress.end();

    if (session.processedCount != 0 && transfer)
        chooseDestination(session, host, transferRows);
    if (session.detail.showLog || !log.text().empty()) {
        result.showResult = true;
        result.resultLine = resultLine(session.processedCount, runCount);
    }
    undo.enabled =
        session.processedCount != 0 && session.methods.undoable(session.settings.methodIndex);
    undo.lastRunSelectedOnly = session.settings.selectedOnly != 0;
    return result;
}

void chooseDestination(RenameSession& session, Host& host, const std::vector<std::size_t>& rows) {
    if (rows.empty())
        return;
    const bool move = session.settings.moveAfter != 0;
    const auto& field = destinationField();
    const std::u16string start = session.ini.readString(kMainSection, field.key, field.textDefault);
    auto chosen = host.chooseFolder(
        move ? u"移動先のフォルダを選択してください" : u"コピー先のフォルダを選択してください",
        start);
    if (!chosen)
        return;
    session.ini.writeString(kMainSection, field.key, std::u16string_view(*chosen));
    session.settings.destination = *chosen;
    if (move)
        moveItems(session, host, rows, *chosen);
    else
        copyItems(session, host, rows, *chosen);
}

void moveItems(RenameSession& session, Host& host, const std::vector<std::size_t>& rows,
               std::u16string_view destination) {
    const std::u16string folder = folderPath(destination);
    ItemTable& items = session.runItems();
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const std::size_t row = *it;
        const std::u16string& name = items.name(row);
        const std::u16string source = items.path(row);
        const std::u16string target = folder + name;
        auto fail = [&](std::u16string_view text) {
            host.showMessage(Message{std::u16string(text), source, Icon::Error});
        };
        if (source == target) {
            fail(u"移動元と移動先が同じです");
            continue;
        }
        std::optional<std::u16string> aside;
        if (const auto existing = platform::lookUp(target)) {
            if (!host.askYesNo(overwriteQuestion(name)))
                continue;
            // A folder is never removed to make room, as deleting a file cannot remove one.
            if (!existing->isFolder)
                aside = setAside(target);
            if (!aside) {
                fail(u"上書きに失敗しました");
                continue;
            }
        }
        if (!platform::moveNoReplace(source, target)) {
            if (aside)
                (void)platform::renameNoReplace(*aside, target);
            fail(u"移動に失敗しました");
            continue;
        }
        if (aside && !platform::removeFile(*aside))
            fail(u"上書きに失敗しました");
        items.setFolder(row, folder);
    }
}

void copyItems(RenameSession& session, Host& host, const std::vector<std::size_t>& rows,
               std::u16string_view destination) {
    const std::u16string folder = folderPath(destination);
    const ItemTable& items = session.items();
    for (const std::size_t row : rows) {
        const std::u16string& name = items.name(row);
        const std::u16string source = items.path(row);
        const std::u16string target = folder + name;
        auto fail = [&](std::u16string_view text) {
            host.showMessage(Message{std::u16string(text), source, Icon::Error});
        };
        if (source == target) {
            fail(u"コピー元とコピー先が同じです");
            continue;
        }
        const bool overwrite = platform::lookUp(target).has_value();
        if (overwrite && !host.askYesNo(overwriteQuestion(name)))
            continue;
        if (!copyEntry(source, target, overwrite))
            fail(u"コピーに失敗しました");
    }
}

std::vector<Message> renameByLabelEdit(RenameSession& session, std::size_t row,
                                       std::u16string_view edited) {
    std::vector<Message> messages;
    ItemTable& items = session.runItems();
    if (row >= items.count())
        return messages;
    auto repaired = text::checkForbiddenChars(edited, text::ForbiddenSet::All,
                                              session.detail.fullWidthForbidden != 0);
    if (repaired.message)
        messages.push_back(std::move(*repaired.message));
    if (repaired.text.empty())
        return messages;
    const std::u16string next = trimNewName(repaired.text);
    const std::u16string& folder = items.folder(row);
    if (next == items.name(row))
        return messages;
    const std::u16string target = folder + next;
    if (auto reason = unsafeNameReason(next)) {
        messages.push_back(errorMessage(std::u16string(*reason) + u"\n" + target));
        return messages;
    }
    const platform::Status renamed = platform::renameNoReplace(items.path(row), target);
    if (renamed)
        items.setName(row, next);
    else if (platform::isExistsOrAccessDenied(renamed.error()))
        messages.push_back(errorMessage(u"同名ファイルが存在します\n" + target));
    else
        messages.push_back(
            errorMessage(platform::systemErrorText(renamed.error()) + u"\n" + target));
    return messages;
}

}  // namespace soramine
