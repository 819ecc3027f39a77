#include "core/items/import.h"

#include <algorithm>

#include "core/items/item_text.h"
#include "core/platform/fs.h"
#include "core/text/strings.h"

namespace soramine {

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
    pendingItems.clear();
    scanned_.clear();
    unreadable_.clear();
}

std::optional<Message> Importer::importFolder(const DetailSettings& detail) {
    if (folderBox_.text.empty())
        return errorMessage(std::u16string(kNoFolderText));
    if (extensionBox_.text.empty())
        return errorMessage(std::u16string(kNoExtensionText));
    commitBoxText(folderBox_, historyLimit_);
    commitBoxText(extensionBox_, historyLimit_);
    prepare(detail);
    if (main_.importMode == 0) {
        table_.clear();
        const auto& include = filter_.includeExtensions;
        main_.folderMode = include.empty() || include.front().empty() ? 1 : 0;
    }
    if (main_.folderMode != 0 && main_.importMode == 1) {
        return errorMessage(std::u16string(kNoAddInFolderMode));
    }
    scanFolder(withTrailingSeparator(folderBox_.text));
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
    ItemTable direct;
    for (const auto& given : paths) {
        std::u16string path = given;
        while (path.size() > 1 && path.back() == platform::kSeparator)
            path.pop_back();
        auto entry = platform::lookUp(path);
        if (!entry || (entry->attributes & attributeMask_) != 0)
            continue;
        if (entry->isFolder && main_.folderMode == 0) {
            scanFolder(withTrailingSeparator(path));
            continue;
        }
        size_t slash = path.rfind(platform::kSeparator);
        std::u16string folder = slash == std::u16string::npos ? u"./" : path.substr(0, slash + 1);
        auto row = rowFor(*entry, folder);
        if (!row)
            continue;
        if (source == PathSource::Drop) {
            direct.append(std::move(*row));
        } else {
            addRow(std::move(*row));
        }
    }
    direct.sort(ItemTable::kName, ItemTable::compareText, false);
    for (size_t i = 0; i < direct.count(); ++i)
        addRow(direct.row(i));
    finishImport();
}

std::optional<Row> Importer::rowFor(const platform::EntryInfo& entry,
                                    const std::u16string& folder) const {
    if (main_.folderMode != 0) {
        if (!entry.isFolder)
            return std::nullopt;
        return Row{entry.name, folder, dateText(entry.created), dateText(entry.modified),
                   std::u16string(kFolderSizeText)};
    }
    if (entry.isFolder || !filter_.accepts(entry.name))
        return std::nullopt;
    return Row{entry.name, folder, dateText(entry.created), dateText(entry.modified),
               sizeText(entry.size)};
}

void Importer::scanFolder(const std::u16string& folder) {
    ItemTable local;
    std::vector<std::u16string> subfolders;
    const bool descend = main_.folderMode == 0 && main_.subfolders != 0;
    const platform::Status listed = platform::listFolder(folder, [&](platform::EntryInfo& entry) {
        if ((entry.attributes & attributeMask_) != 0)
            return;
        if (entry.isFolder && descend)
            subfolders.push_back(entry.name);
        if (auto row = rowFor(entry, folder))
            local.append(std::move(*row));
    });
    if (!listed)
        unreadable_.push_back({folder, listed.error()});
    // Subfolders are scanned before the rows of this folder join the list, in name order so
    // that the result does not depend on the order the file system happens to list them.
    std::sort(subfolders.begin(), subfolders.end());
    for (const auto& sub : subfolders)
        scanFolder(folder + sub + platform::kSeparator);
    local.sort(ItemTable::kName, ItemTable::compareText, false);
    if (!local.empty())
        scanned_.push_back(std::move(local));
}

void Importer::addRow(Row row) {
    if (scanned_.empty())
        scanned_.emplace_back();
    scanned_.back().append(std::move(row));
}

void Importer::finishImport() {
    // With sorting on import, every row of this import waits in pendingItems and joins the
    // list as one block sorted by name.
    ItemTable& into = sortOnImport_ ? pendingItems : table_;
    into.appendTables(std::move(scanned_));
    scanned_.clear();
    if (!pendingItems.empty()) {
        pendingItems.sort(ItemTable::kName, ItemTable::compareText, false);
        table_.appendTable(std::move(pendingItems));
        pendingItems.clear();
    }
}

}  // namespace soramine
