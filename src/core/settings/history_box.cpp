#include "core/settings/history_box.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/app/ini_file.h"
#include "core/text/strings.h"

namespace soramine {
namespace {

std::u16string countKey(const HistoryBox& box) {
    return box.prefix + u"カウント";
}

// The index of an entry key's tail as "%d" writes it: digits, no sign, no leading zero.
std::optional<std::int32_t> entryIndex(std::u16string_view digits) {
    if (digits.empty() || digits.size() > 9 || (digits.size() > 1 && digits[0] == u'0') ||
        !text::consistsOf(digits, u"0123456789")) {
        return std::nullopt;
    }
    return text::leadingInt(digits);
}

size_t keptCount(size_t entries, int limit) {
    return std::min(entries, static_cast<size_t>(std::max(limit, 0)));
}

}  // namespace

void loadBoxHistory(HistoryBox& box, const IniFile& ini, const HistoryMap& map) {
    const std::int32_t count = ini.readInt(box.section, countKey(box), 0);
    // The count comes from the INI file and may be anything: walk the map's keys of this
    // box rather than every index below the count.
    const std::u16string stem = box.section + box.prefix;
    std::vector<std::pair<std::int32_t, const std::u16string*>> found;
    for (auto it = map.lower_bound(stem); it != map.end() && it->first.starts_with(stem); ++it) {
        auto index = entryIndex(std::u16string_view(it->first).substr(stem.size()));
        if (index && *index < count)
            found.emplace_back(*index, &it->second);
    }
    std::sort(found.begin(), found.end());
    box.entries.clear();
    for (const auto& entry : found)
        box.entries.push_back(*entry.second);
    box.text = box.entries.empty() ? box.defaultText : box.entries.front();
}

void saveBoxHistory(const HistoryBox& box, int limit, IniFile& ini, HistoryMap& map) {
    const size_t n = keptCount(box.entries.size(), limit);
    ini.writeInt(box.section, countKey(box), static_cast<std::int32_t>(n));
    for (size_t i = 0; i < n; ++i)
        map[box.section + box.prefix + text::decimal(static_cast<long long>(i))] = box.entries[i];
}

void commitBoxText(HistoryBox& box, int limit) {
    auto same = std::find(box.entries.begin(), box.entries.end(), box.text);
    if (same != box.entries.end())
        box.entries.erase(same);
    if (box.text != kFolderModeText)
        box.entries.insert(box.entries.begin(), box.text);
    box.entries.resize(keptCount(box.entries.size(), limit));
}

void deleteHistoryEntry(HistoryBox& box, size_t index) {
    if (index >= box.entries.size())
        return;
    box.entries.erase(box.entries.begin() + static_cast<std::ptrdiff_t>(index));
    if (!box.entries.empty())
        box.text = box.entries.front();
}

}  // namespace soramine
