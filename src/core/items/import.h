#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/app/detail_settings.h"
#include "core/app/main_settings.h"
#include "core/base/message.h"
#include "core/items/extension_filter.h"
#include "core/items/item_table.h"
#include "core/platform/fs.h"
#include "core/settings/history_box.h"

namespace soramine {

// Where a list of paths comes from: each source empties the list under its own rule.
enum class PathSource { Drop, CommandLine, OtherInstance };

// A folder an import could not list, and the system's reason.
struct UnreadableFolder {
    std::u16string folder;
    platform::OsError error;
};

// Gathers files (or, in folder mode, folders) into the item table. It holds what one import
// needs: the table it fills, the main options (the import may switch folder mode on), the
// folder and extension boxes with their histories, and the detailed settings it reads at
// every import. The caller discards any undo record before importing.
class Importer {
  public:
    Importer(ItemTable& table, MainSettings& main, HistoryBox& folderBox, HistoryBox& extensionBox,
             int historyLimit);

    // The import button: validates the two texts, scans the folder, and commits the texts to
    // their histories. A message means the list is unchanged: a folder that cannot be listed
    // (missing, not a folder, not readable) gives unreadableFolderText and leaves the
    // histories and the folder mode as they were too.
    std::optional<Message> importFolder(const DetailSettings& detail);
    // Dropped paths, the command line, or a command line forwarded by another instance.
    void importPaths(const std::vector<std::u16string>& paths, PathSource source,
                     const DetailSettings& detail);

    // Rows get no date and size texts, for a caller that never shows them: a folder is then
    // listed without asking the system for the status of each entry, unless the attribute
    // mask needs it to leave out read-only entries.
    void leaveOutStatusColumns() { statusColumns_ = false; }

    // The folders the last import could not list (the scanned folder itself, or one below
    // it), in the order the scan met them; the import went on without their items.
    const std::vector<UnreadableFolder>& unreadableFolders() const { return unreadable_; }

    std::uint32_t attributeMask() const { return attributeMask_; }
    const ExtensionFilter& filter() const { return filter_; }

  private:
    void prepare(const DetailSettings& detail);
    void scanFolder(const std::u16string& folder);
    void addRow(Row row);
    void finishImport();
    // Whether an entry that the attribute mask lets through becomes a row: a folder in folder
    // mode, otherwise a file that the extension filter takes.
    bool accepts(const platform::EntryInfo& entry) const;
    // A row of an entry whose status was asked for (`size` set) or not (no date and size
    // texts; a folder's size column shows its mark either way).
    Row makeRow(std::u16string name, std::u16string folder,
                const std::optional<platform::FileTime>& created,
                const std::optional<platform::FileTime>& modified,
                std::optional<std::uint64_t> size) const;

    ItemTable& table_;
    MainSettings& main_;
    HistoryBox& folderBox_;
    HistoryBox& extensionBox_;
    int historyLimit_;
    ExtensionFilter filter_;
    std::uint32_t attributeMask_ = 0;
    bool sortOnImport_ = false;
    bool statusColumns_ = true;
    ItemTable pendingItems_;
    // The rows of this import in their final order (each folder's sorted rows, single rows),
    // moved into the table at the end. Each folder's rows join as soon as the folder is done,
    // so that the import never holds a second copy of its row columns.
    ItemTable gathered_;
    std::vector<UnreadableFolder> unreadable_;
};

// Import messages (caption "エラー").
inline constexpr std::u16string_view kNoFolderText = u"フォルダ名を入力してください。";
inline constexpr std::u16string_view kNoExtensionText = u"拡張子を入力してください。";
inline constexpr std::u16string_view kNoAddInFolderMode = u"フォルダモードのときは追加できません";

// The attributes that make an entry skipped: temporary always, read-only, system and hidden
// unless the detailed settings take them.
std::uint32_t attributeMaskFor(const DetailSettings& detail);

// True when a command line is one saved-settings file to load rather than paths to import:
// exactly one path whose text after the last "." is "qrn", in any letter case.
bool isSettingsFileArgument(const std::vector<std::u16string>& paths);

// "フォルダを読み込めません: FOLDER (the system's reason)".
std::u16string unreadableFolderText(const UnreadableFolder& folder);

// A folder text as the scan uses it: ending in the separator.
std::u16string withTrailingSeparator(std::u16string folder);

}  // namespace soramine
