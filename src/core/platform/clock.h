#pragma once

#include <cstdint>
#include <optional>

#include "core/platform/fs.h"

namespace soramine::platform {

// Calendar fields of a moment in the user's local time zone.
struct LocalTime {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;    // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const LocalTime&, const LocalTime&) = default;
};

std::optional<LocalTime> toLocalTime(FileTime t);
// The moment that the local calendar fields name (daylight saving decided by the system);
// nothing for fields that name no moment.
std::optional<FileTime> fromLocalTime(const LocalTime& t);
FileTime now();
// Milliseconds since some fixed moment, for seeding random generators as the product does.
std::uint32_t tickCount();

}  // namespace soramine::platform
