#include "core/items/import.h"

#include <algorithm>

#include "core/items/item_text.h"
#include "core/platform/fs.h"
#include "core/text/strings.h"

namespace soramine {
namespace {

// Whether the rows stand in the order of their names already: names created one after
// another are often listed so, and then there is nothing to sort.
bool inNameOrder(const ItemTable& table) {
    for (size_t i = 1; i < table.count(); ++i) {
        if (ItemTable::compareText(table.name(i - 1), table.name(i)) > 0)
            return false;
    }
    return true;
}

}  // namespace

std::uint32_t attributeMaskFor(const DetailSettings& detail) {
    std::uint32_t mask = platform::attr::kTemporary;
    if (detail.importReadOnly == 0)
        mask |= platform::attr::kReadOnly;
    if (detail.importSystem == 0)
        mask |= platform::attr::kSystem;
    if (detail.importHidden == 0)
        mask |= platform::attr::kHidden;
    return mask;
}

bool isSettingsFileArgument(const std::vector<std::u16string>& paths) {
    if (paths.size() != 1)
        return false;
    size_t dot = paths[0].rfind(u'.');
    return dot != std::u16string::npos &&
           text::equalsIgnoreAsciiCase(std::u16string_view(paths[0]).substr(dot + 1), u"qrn");
}

std::u16string unreadableFolderText(const UnreadableFolder& folder) {
    return u"フォルダを読み込めません: " + folder.folder + u" (" +
           platform::systemErrorText(folder.error) + u")";
}

std::u16string withTrailingSeparator(std::u16string folder) {
    if (folder.empty() || folder.back() != platform::kSeparator)
        folder += platform::kSeparator;
    return folder;
}

Importer::Importer(ItemTable& table, MainSettings& main, HistoryBox& folderBox,
                   HistoryBox& extensionBox, int historyLimit)
    : table_(table),
      main_(main),
      folderBox_(folderBox),
      extensionBox_(extensionBox),
      historyLimit_(historyLimit) {}

void Importer::prepare(const DetailSettings& detail) {
    filter_ = parseExtensionFilter(extensionBox_.text);
    attributeMask_ = attributeMaskFor(detail);
    sortOnImport_ = detail.sortOnImport != 0;
    pendingItems_.clear();
    gathered_.clear();
    unreadable_.clear();
}

std::optional<Message> Importer::importFolder(const DetailSettings& detail) {
    if (folderBox_.text.empty())
        return errorMessage(std::u16string(kNoFolderText));
    if (extensionBox_.text.empty())
        return errorMessage(std::u16string(kNoExtensionText));
    prepare(detail);
    const std::int32_t folderModeBefore = main_.folderMode;
    if (main_.importMode == 0) {
        const auto& include = filter_.includeExtensions;
        main_.folderMode = include.empty() || include.front().empty() ? 1 : 0;
    }
    if (main_.folderMode != 0 && main_.importMode == 1) {
        commitBoxText(folderBox_, historyLimit_);
        commitBoxText(extensionBox_, historyLimit_);
        return errorMessage(std::u16string(kNoAddInFolderMode));
    }
    // The scan gathers the rows apart from the table: a folder that cannot be listed changes
    // nothing, neither the list nor the histories nor the folder mode.
    const std::u16string folder = withTrailingSeparator(folderBox_.text);
    scanFolder(folder);
    if (!unreadable_.empty() && unreadable_.front().folder == folder) {
        main_.folderMode = folderModeBefore;
        gathered_.clear();
        pendingItems_.clear();
        return errorMessage(unreadableFolderText(unreadable_.front()));
    }
    commitBoxText(folderBox_, historyLimit_);
    commitBoxText(extensionBox_, historyLimit_);
    if (main_.importMode == 0)
        table_.clear();
    finishImport();
    return std::nullopt;
}

void Importer::importPaths(const std::vector<std::u16string>& paths, PathSource source,
                           const DetailSettings& detail) {
    prepare(detail);
    if (source == PathSource::Drop) {
        if (main_.importMode == 0 || main_.folderMode != 0)
            table_.clear();
    } else if (source == PathSource::OtherInstance && main_.importMode == 0 && !table_.empty()) {
        table_.clear();
        main_.folderMode = filter_.tokenCount() == 0 ? 1 : 0;
    }
    std::vector<std::u16string> trimmed = paths;
    for (auto& path : trimmed) {
        while (path.size() > 1 && path.back() == platform::kSeparator)
            path.pop_back();
    }
    const auto entries = platform::lookUpEach(trimmed);
    ItemTable direct;
    for (size_t i = 0; i < trimmed.size(); ++i) {
        const std::u16string& path = trimmed[i];
        const auto& entry = entries[i];
        if (!entry || (entry->attributes & attributeMask_) != 0)
            continue;
        if (entry->isFolder && main_.folderMode == 0) {
            scanFolder(withTrailingSeparator(path));
            continue;
        }
        if (!accepts(*entry))
            continue;
        size_t slash = path.rfind(platform::kSeparator);
        Row row =
            makeRow(entry->name, slash == std::u16string::npos ? u"./" : path.substr(0, slash + 1),
                    entry->created, entry->modified, entry->size);
        if (source == PathSource::Drop) {
            direct.append(std::move(row));
        } else {
            addRow(std::move(row));
        }
    }
    direct.sort(ItemTable::kName, ItemTable::compareText, false);
    for (size_t i = 0; i < direct.count(); ++i)
        addRow(direct.row(i));
    finishImport();
}

bool Importer::accepts(const platform::EntryInfo& entry) const {
    if (main_.folderMode != 0)
        return entry.isFolder;
    return !entry.isFolder && filter_.accepts(entry.name);
}

Row Importer::makeRow(std::u16string name, std::u16string folder,
                      const std::optional<platform::FileTime>& created,
                      const std::optional<platform::FileTime>& modified,
                      std::optional<std::uint64_t> size) const {
    std::u16string sizeColumn;
    if (main_.folderMode != 0)
        sizeColumn = kFolderSizeText;
    else if (size)
        sizeColumn = sizeText(*size);
    return Row{std::move(name), std::move(folder), dateText(created), dateText(modified),
               std::move(sizeColumn)};
}

void Importer::scanFolder(const std::u16string& folder) {
    // The rows are made as the entries come, while the listing's helper thread still asks for
    // the status of later ones.
    ItemTable local;
    std::vector<std::u16string> subfolders;
    const bool descend = main_.folderMode == 0 && main_.subfolders != 0;
    const bool status = statusColumns_ || (attributeMask_ & platform::attr::kReadOnly) != 0;
    const platform::Status listed = platform::listFolder(
        folder,
        [&](platform::EntryInfo& entry) {
            if ((entry.attributes & attributeMask_) != 0)
                return;
            if (entry.isFolder && descend)
                subfolders.push_back(entry.name);
            if (accepts(entry))
                local.append(makeRow(std::move(entry.name), folder, entry.created, entry.modified,
                                     status ? std::optional(entry.size) : std::nullopt));
        },
        [&](size_t count) { local.reserve(count); },
        status ? platform::EntryDetail::kFull : platform::EntryDetail::kNameAndType);
    if (!listed)
        unreadable_.push_back({folder, listed.error()});
    // Subfolders are scanned before the rows of this folder join the list, in name order so
    // that the result does not depend on the order the file system happens to list them.
    std::sort(subfolders.begin(), subfolders.end());
    for (const auto& sub : subfolders)
        scanFolder(folder + sub + platform::kSeparator);
    if (local.empty())
        return;
    // The names of one folder are all different, so the order any sort by name gives.
    if (!inNameOrder(local))
        local.sort(ItemTable::kName, ItemTable::compareText, false);
    gathered_.appendTable(std::move(local));
}

void Importer::addRow(Row row) {
    gathered_.append(std::move(row));
}

void Importer::finishImport() {
    // With sorting on import, every row of this import waits in pendingItems_ and joins the
    // list as one block sorted by name.
    ItemTable& into = sortOnImport_ ? pendingItems_ : table_;
    into.appendTable(std::move(gathered_));
    gathered_.clear();
    if (!pendingItems_.empty()) {
        pendingItems_.sort(ItemTable::kName, ItemTable::compareText, false);
        table_.appendTable(std::move(pendingItems_));
        pendingItems_.clear();
    }
}

}  // namespace soramine
