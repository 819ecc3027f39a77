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

// What a failed move or copy tells the user: the product's headline, then the path concerned
// and the system's reason.
std::u16string failureText(std::u16string_view headline, std::u16string_view path,
                           platform::OsError error) {
    return std::u16string(headline) + u"\r\n" + std::u16string(path) + u": " +
           platform::systemErrorText(error);
}

// Moves an existing file out of the way to a free name beside it, so that it can be put back
// when the move meant to replace it fails (or turns out to be the source itself, reached
// through another path).
Expected<std::u16string, platform::OsError> setAside(const std::u16string& target) {
    for (int n = 1;; ++n) {
        std::u16string aside = target + u".~" + text::decimal(n);
        const platform::Status renamed = platform::renameNoReplace(target, aside);
        if (renamed)
            return aside;
        if (!platform::isAlreadyExists(renamed.error()) || n == 100)
            return Unexpected{renamed.error()};
    }
}

struct CopyFailure {
    std::u16string path;  // the entry the failing call was about
    platform::OsError error;
};

// An entry a copy created, to be removed when the copy fails.
struct MadeEntry {
    std::u16string path;
    bool isFolder = false;
};

// Copies a file, or a folder with everything in it; a symbolic link, also `from` itself, is
// copied as a link and never followed. A folder is listed before its copy is made, so a
// destination inside the source is never copied into itself. Stops at the first failure.
// Each entry it creates is added to `made` (an existing file it overwrites is not).
Expected<void, CopyFailure> copyTree(const std::u16string& from, const std::u16string& to,
                                     bool overwrite, std::vector<MadeEntry>& made) {
    const auto info = platform::lookUp(from);
    if (!info || !info->isFolder) {
        const bool existed = overwrite && platform::exists(to);
        if (auto copied = platform::copyFile(from, to, overwrite); !copied)
            return Unexpected{CopyFailure{from + u" → " + to, copied.error()}};
        if (!existed)
            made.push_back({to, false});
        return {};
    }
    std::vector<std::u16string> names;
    if (auto listed = platform::listFolder(
            from + platform::kSeparator,
            [&](platform::EntryInfo& e) { names.push_back(std::move(e.name)); });
        !listed)
        return Unexpected{CopyFailure{from, listed.error()}};
    if (const platform::Status folder = platform::makeFolder(to); folder) {
        made.push_back({to, true});
    } else if (!(overwrite && platform::isAlreadyExists(folder.error()))) {
        return Unexpected{CopyFailure{to, folder.error()}};
    }
    for (const auto& name : names) {
        if (auto copied = copyTree(from + platform::kSeparator + name,
                                   to + platform::kSeparator + name, overwrite, made);
            !copied)
            return copied;
    }
    return {};
}

// Removes what a failed copy created, the last first, so that each folder is empty by then.
void removeMade(const std::vector<MadeEntry>& made) {
    for (auto it = made.rbegin(); it != made.rend(); ++it)
        (void)(it->isFolder ? platform::removeFolder(it->path) : platform::removeFile(it->path));
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
            if (existing->isFolder) {
                fail(u"上書きに失敗しました");
                continue;
            }
            auto setAsideTo = setAside(target);
            if (!setAsideTo) {
                fail(failureText(u"上書きに失敗しました", target, setAsideTo.error()));
                continue;
            }
            aside = std::move(*setAsideTo);
        }
        if (auto moved = platform::moveNoReplace(source, target); !moved) {
            if (aside)
                (void)platform::renameNoReplace(*aside, target);
            fail(failureText(u"移動に失敗しました", target, moved.error()));
            continue;
        }
        if (aside) {
            if (auto removed = platform::removeFile(*aside); !removed)
                fail(failureText(u"上書きに失敗しました", *aside, removed.error()));
        }
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
        std::vector<MadeEntry> made;
        if (auto copied = copyTree(source, target, overwrite, made); !copied) {
            removeMade(made);
            fail(failureText(u"コピーに失敗しました", copied.error().path, copied.error().error));
        }
    }
    return result;
}

}  // namespace soramine
