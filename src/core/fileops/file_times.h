#pragma once

#include <optional>
#include <string_view>

#include "core/platform/fs.h"

namespace soramine::fileops {

enum class TimesOutcome {
    kSet,
    kAccessDenied,  // a read-only file, or the system refused access
    kFailed,        // any other failure (the item is gone, ...)
};

// Sets the last-write time of a file or folder, and its creation time where the system can set
// one (never on Linux: then `created` must be empty). The access time and the nanoseconds of
// what is not set stay. A read-only file refuses, as the read-only attribute guards a file's
// times where the product comes from; a folder's read-only mark does not.
TimesOutcome setItemTimes(std::u16string_view path, std::optional<platform::FileTime> created,
                          std::optional<platform::FileTime> modified);

}  // namespace soramine::fileops
