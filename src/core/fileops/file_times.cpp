#include "core/fileops/file_times.h"

namespace soramine::fileops {

TimesOutcome setItemTimes(std::u16string_view path, std::optional<platform::FileTime> created,
                          std::optional<platform::FileTime> modified) {
    const auto entry = platform::lookUp(path);
    if (!entry)
        return TimesOutcome::kFailed;
    if (!entry->isFolder && (entry->attributes & platform::attr::kReadOnly))
        return TimesOutcome::kAccessDenied;
    const platform::Status set = platform::setTimes(path, created, modified, std::nullopt);
    if (set)
        return TimesOutcome::kSet;
    return platform::isAccessDenied(set.error()) ? TimesOutcome::kAccessDenied
                                                 : TimesOutcome::kFailed;
}

}  // namespace soramine::fileops
