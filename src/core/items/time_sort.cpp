#include "core/items/time_sort.h"

#include "core/items/exif_reader.h"
#include "core/platform/fs.h"

namespace soramine {

std::vector<std::int64_t> timeKeys(const ItemTable& table, SortTime time, std::u16string& log) {
    std::vector<std::int64_t> keys(table.count(), 0);
    if (time == SortTime::kShootingDate) {
        for (std::size_t i = 0; i < table.count(); ++i) {
            const std::u16string path = table.path(i);
            const auto date = ExifReader::readFile(path);
            if (!date)
                log.append(u"ファイルを開けません - ").append(path).append(u"\r\n");
            else if (!*date)
                log.append(u"Exif情報の撮影日時がありません - ")
                    .append(table.name(i))
                    .append(u"\r\n");
            else
                keys[i] = **date;
        }
        return keys;
    }
    std::vector<std::u16string> paths;
    paths.reserve(table.count());
    for (std::size_t i = 0; i < table.count(); ++i)
        paths.push_back(table.path(i));
    const auto entries = platform::lookUpEach(paths);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i])
            continue;
        const auto& t = time == SortTime::kCreated ? entries[i]->created : entries[i]->modified;
        if (t)
            keys[i] = t->seconds;
    }
    return keys;
}

std::optional<std::u16string> sortByTime(ItemTable& table, SortTime time, bool newestFirst,
                                         bool folderMode) {
    if (table.empty() || (time == SortTime::kShootingDate && folderMode))
        return std::nullopt;
    std::u16string log;
    table.sortByKeys(timeKeys(table, time, log), newestFirst);
    log += time == SortTime::kCreated    ? u"作成日時の"
           : time == SortTime::kModified ? u"更新日時の"
                                         : u"Exif情報撮影日時の";
    log += newestFirst ? u"新しい" : u"古い";
    log += u"順に並べ替えました";
    return log;
}

}  // namespace soramine
