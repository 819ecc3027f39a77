#include "core/platform/clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace soramine::platform {
namespace {

TEST(Clock, LocalFieldsConvertBothWaysAndInvalidDatesNameNoMoment) {
    const char* tz = std::getenv("TZ");
    const std::string saved = tz ? tz : "";
    setenv("TZ", "Asia/Tokyo", 1);
    tzset();

    auto moment = fromLocalTime(LocalTime{2006, 3, 24, 0, 0, 0});
    ASSERT_TRUE(moment);
    EXPECT_EQ(moment->seconds, 1143126000);
    EXPECT_EQ(toLocalTime(*moment), (LocalTime{2006, 3, 24, 0, 0, 0}));
    EXPECT_FALSE(fromLocalTime(LocalTime{2006, 13, 1, 0, 0, 0}));
    EXPECT_FALSE(fromLocalTime(LocalTime{2006, 2, 30, 0, 0, 0}));

    if (tz) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

}  // namespace
}  // namespace soramine::platform
