#include "model/LocalDay.h"

#include "LocalTime.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

// Switches the process's time zone for one test.
class TimeZoneTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (const char* zone = std::getenv("TZ")) {
            saved = zone;
        }
        setenv("TZ", GetParam(), 1);
        tzset();
    }
    void TearDown() override {
        if (saved) {
            setenv("TZ", saved->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

    std::optional<std::string> saved;
};

int ClockSecond(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

int ClockDate(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

struct ChangeDay {
    int month;
    int day;
};

TEST_P(TimeZoneTest, SecondsAndDatesFollowTheLocalClockThroughClockChangeDays) {
    // The days of 2024 on which the zones' clocks change, and one on which none does.
    for (const ChangeDay change :
         {ChangeDay{3, 10}, {3, 31}, {4, 7}, {10, 6}, {10, 27}, {11, 3}, {6, 4}}) {
        const std::time_t from = LocalTime(2024, change.month, change.day - 1, 22, 0, 0);
        const std::time_t to = from + 28 * 3600;
        CLocalDay forward;
        for (std::time_t t = from; t < to; t += 7) {
            ASSERT_EQ(forward.SecondOfDay(t), ClockSecond(t)) << GetParam() << " at " << t;
            ASSERT_EQ(forward.Date(t), ClockDate(t)) << GetParam() << " at " << t;
        }
        CLocalDay backward;
        for (std::time_t t = to; t > from; t -= 13) {
            ASSERT_EQ(backward.SecondOfDay(t), ClockSecond(t)) << GetParam() << " at " << t;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Zones, TimeZoneTest,
                         ::testing::Values("UTC", "Europe/Berlin", "Australia/Lord_Howe",
                                           "America/New_York"));

} // namespace
