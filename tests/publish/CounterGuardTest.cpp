#include "publish/CounterGuard.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

constexpr StateField LIFETIME{.key = "e_total_kwh",
                              .stateClass = "total_increasing",
                              .counter = StateField::Counter::Lifetime};
constexpr StateField DAILY{
    .key = "e_today_kwh", .stateClass = "total_increasing", .counter = StateField::Counter::Daily};
constexpr StateField POWER{.key = "pac_w", .stateClass = "measurement"};
constexpr double NONE = -1; // nothing published

struct Reading {
    double value;
    int day;
};

TEST(CounterGuardTest, WhatIsPublishedNeverGoesBackExceptAtALoggedReset) {
    const struct {
        const char* what;
        const StateField& field;
        std::vector<Reading> readings;
        std::vector<double> published;
        const char* logged; // empty: nothing at information level or above
    } cases[] = {
        {"growing", LIFETIME, {{100, 1}, {100.1, 1}, {101, 1}}, {100, 100.1, 101}, ""},
        {"rounding dip held",
         LIFETIME,
         {{100, 1}, {99.9, 1}, {99.9, 1}, {99.9, 1}, {100.2, 1}},
         {100, 100, 100, 100, 100.2},
         ""},
        {"single zero held", LIFETIME, {{100, 1}, {0, 1}, {100.1, 1}}, {100, 100, 100.1}, ""},
        {"reset after three samples",
         LIFETIME,
         {{100, 1}, {0, 1}, {0.1, 1}, {0.2, 1}, {0.3, 1}},
         {100, 100, 100, 0.2, 0.3},
         "e_total_kwh went from 100 to 0.2, a reset of the counter"},
        {"dip breaks a run of lows",
         LIFETIME,
         {{100, 1}, {0, 1}, {0, 1}, {99, 1}, {0, 1}, {0, 1}},
         {100, 100, 100, 100, 100, 100},
         ""},
        {"zero at boot withheld", LIFETIME, {{0, 1}, {16204.7, 1}}, {NONE, 16204.7}, ""},
        {"a new unit reads zero",
         LIFETIME,
         {{0, 1}, {0, 1}, {0, 1}, {0.1, 1}},
         {NONE, NONE, 0, 0.1},
         ""},
        {"new day", DAILY, {{12.5, 1}, {12.5, 2}, {0, 2}, {0.1, 2}}, {12.5, 12.5, 0, 0.1}, ""},
        {"daily zero at first sight", DAILY, {{0, 1}}, {0}, ""},
        {"not a counter", POWER, {{300, 1}, {0, 1}}, {300, 0}, ""},
    };
    for (const auto& each : cases) {
        CounterGuard guard("S1");
        std::vector<double> published;
        ::testing::internal::CaptureStderr();
        for (const Reading& reading : each.readings) {
            published.push_back(guard.Pass(each.field, reading.value, reading.day).value_or(NONE));
        }
        const std::string log = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(published, each.published) << each.what;
        if (*each.logged == '\0') {
            EXPECT_EQ(log, "") << each.what;
        } else {
            EXPECT_NE(log.find(std::string("S1: ") + each.logged), std::string::npos)
                << each.what << ": " << log;
        }
    }
}

} // namespace
