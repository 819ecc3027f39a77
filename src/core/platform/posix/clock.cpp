#include "core/platform/clock.h"

#include <time.h>

namespace soramine::platform {
namespace {

// Converting the same quarter hour again and again is the common case when a folder is
// listed (files written together). Every time-zone offset and transition in use falls on a
// quarter hour, so within one quarter hour only the seconds and minutes move.
struct QuarterCache {
    std::int64_t base = -1;
    struct tm fields {};
};
thread_local QuarterCache cache;

}  // namespace

std::optional<LocalTime> toLocalTime(FileTime t) {
    std::int64_t base = t.seconds - ((t.seconds % 900) + 900) % 900;
    if (cache.base != base) {
        time_t b = static_cast<time_t>(base);
        struct tm fields;
        if (localtime_r(&b, &fields) == nullptr)
            return std::nullopt;
        if (fields.tm_sec != 0 || fields.tm_min % 15 != 0) {
            // An old offset that is not whole quarter hours: convert this moment directly.
            time_t exact = static_cast<time_t>(t.seconds);
            if (localtime_r(&exact, &fields) == nullptr)
                return std::nullopt;
            return LocalTime{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                             fields.tm_hour,        fields.tm_min,     fields.tm_sec};
        }
        cache.base = base;
        cache.fields = fields;
    }
    int offset = static_cast<int>(t.seconds - base);
    const struct tm& f = cache.fields;
    return LocalTime{f.tm_year + 1900, f.tm_mon + 1,           f.tm_mday,
                     f.tm_hour,        f.tm_min + offset / 60, offset % 60};
}

std::optional<FileTime> fromLocalTime(const LocalTime& t) {
    struct tm fields {};
    fields.tm_year = t.year - 1900;
    fields.tm_mon = t.month - 1;
    fields.tm_mday = t.day;
    fields.tm_hour = t.hour;
    fields.tm_min = t.minute;
    fields.tm_sec = t.second;
    fields.tm_isdst = -1;
    time_t value = mktime(&fields);
    if (value == static_cast<time_t>(-1) && !(t.year == 1969 || t.year == 1970)) {
        return std::nullopt;
    }
    // mktime quietly carries month 13 or day 32 over; such fields name no moment.
    if (fields.tm_year != t.year - 1900 || fields.tm_mon != t.month - 1 ||
        fields.tm_mday != t.day) {
        return std::nullopt;
    }
    return FileTime{static_cast<std::int64_t>(value), 0};
}

FileTime now() {
    struct timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return FileTime{ts.tv_sec, static_cast<std::uint32_t>(ts.tv_nsec)};
}

std::uint32_t tickCount() {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint32_t>(ts.tv_sec * 1000 + ts.tv_nsec / 1000000);
}

}  // namespace soramine::platform
