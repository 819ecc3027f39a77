#include "core/engine/transfer.h"

#include <algorithm>

#include "core/engine/run.h"
#include "core/engine/session.h"
#include "core/engine/session_access.h"
#include "core/platform/fs.h"
#include "core/text/strings.h"

namespace soramine {
namespace {

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

TransferResult chooseDestination(RenameSession& session, Host& host,
                                 const std::vector<std::size_t>& rows) {
    if (rows.empty())
        return {};
    const bool move = session.settings.moveAfter != 0;
    auto chosen = host.chooseFolder(
        move ? u"移動先のフォルダを選択してください" : u"コピー先のフォルダを選択してください",
        session.settings.destination);
    if (!chosen)
        return {};
    session.settings.destination = *chosen;
    return move ? moveItems(session, host, rows, *chosen) : copyItems(session, host, rows, *chosen);
}

TransferResult moveItems(RenameSession& session, Host& host, const std::vector<std::size_t>& rows,
                         std::u16string_view destination) {
    TransferResult result;
    const std::u16string folder = folderPath(destination);
    ItemTable& items = SessionAccess::items(session);
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        const std::size_t row = *it;
        const std::u16string& name = items.name(row);
        const std::u16string source = items.path(row);
        const std::u16string target = folder + name;
        auto fail = [&](std::u16string_view text) {
            host.showMessage(Message{std::u16string(text), source, Icon::Error});
            ++result.failures;
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
        result.changedRows.push_back(row);
    }
    return result;
}

TransferResult copyItems(RenameSession& session, Host& host, const std::vector<std::size_t>& rows,
                         std::u16string_view destination) {
    TransferResult result;
    const std::u16string folder = folderPath(destination);
    const ItemTable& items = session.items();
    for (const std::size_t row : rows) {
        const std::u16string& name = items.name(row);
        const std::u16string source = items.path(row);
        const std::u16string target = folder + name;
        auto fail = [&](std::u16string_view text) {
            host.showMessage(Message{std::u16string(text), source, Icon::Error});
            ++result.failures;
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
    return result;
}

}  // namespace soramine
