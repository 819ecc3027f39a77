#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/ini_table.h"
#include "core/base/expected.h"
#include "core/base/message.h"
#include "core/engine/method.h"
#include "core/engine/method_table.h"
#include "core/engine/run.h"

namespace soramine {

// Folder creation ("フォルダ作成"): with the mode on, the execute button renames nothing and
// makes new folders in a folder the user picks instead, named by the current method's page
// (numbering, names from text or random names) with "" as the old name. The item list plays
// no part.

// Whether the method at `index` of `methods` can name new folders (MethodPage::namesFolders).
bool namesFolders(const MethodTable& methods, int index);
// The window's refusals: the mode turned on with another method, and another method chosen
// while the mode is on.
Message methodCannotNameFolders();
Message methodRefusedInFolderCreation();

// The layout the count dialog ("フォルダ作成設定") asks for, INI section "フォルダ作成".
struct FolderLayout {
    std::int32_t nested;  // "階層": 0 side by side, 1 each folder inside the one before
    std::int32_t count;   // "数": how many folders, kFewestFolders to kMostFolders
};
inline constexpr std::u16string_view kFolderLayoutSection = u"フォルダ作成";
inline constexpr std::int32_t kFewestFolders = 2;
inline constexpr std::int32_t kMostFolders = 16;
std::span<const IniField<FolderLayout>> folderLayoutFields();
FolderLayout readFolderLayout(const IniFile& ini);
void writeFolderLayout(IniFile& ini, const FolderLayout& layout);

// The count as typed into the dialog: a whole number from 2 to 16, else
// "作成個数の値が不正です。".
Expected<std::int32_t, Message> folderCount(std::u16string_view typed);

// The destination picker's title.
inline constexpr std::u16string_view kFolderParentTitle = u"フォルダの作成先を選択して下さい";

// A folder creation between its steps: the page that names the folders, checked and ready.
struct FolderCreation {
    std::optional<Message> message;  // why it stopped before any folder was made
    MethodPage* page = nullptr;
    RunContext context;
    // The names there are: names from text has one per line read (at most kMostFolders).
    std::size_t available = kMostFolders;
    RunLease lease;

    bool ready() const { return !message; }
};

// What a folder creation did.
struct FolderCreationResult {
    std::vector<std::u16string> created;  // the folders made, in order
    std::size_t failures = 0;             // folders not made (each logged)
    // The closing message ("作成結果"): "フォルダを作成しました", or when some could not be made
    // the count made of those tried, to be shown with the log.
    Message message;
};

// In the order a front end calls them, stopping where one gives nothing:
// 1. startFolderCreation: the method's check (the numbering and random-name pages' validation)
//    and, for names from text, its lines from the file or the clipboard; clears the log.
// 2. chooseFolderParent: the host's folder picker, starting at "メイン"/"フォルダ作成先";
//    the chosen folder is stored there at once. Nothing when the user cancels.
// 3. The front end's count and layout (the dialog, or command-line options).
// 4. createFolders: makes the folders in `parent` and says so. Nothing existing is ever
//    replaced or removed: a name that cannot be made (it exists, it is not a name) is logged
//    in the session's log as "reason - path" and the others are still made; in nested
//    layout the next folder goes inside the one named before it.
FolderCreation startFolderCreation(RenameSession& session, Host& host);
std::optional<std::u16string> chooseFolderParent(RenameSession& session, Host& host);
FolderCreationResult createFolders(RenameSession& session, FolderCreation& job,
                                   std::u16string_view parent, const FolderLayout& layout);

}  // namespace soramine
