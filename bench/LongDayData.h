#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// Today of a plant of 19 buses of 20 simulated inverters polled every second
// since midnight: 24.6 million samples in history files, and their summary.
// The day is made once and kept in a cache directory while it is today; the
// time zone is chosen so that the day is late, and kept with it.
struct LongDay {
    static constexpr int BUSES = 19;
    static constexpr int INVERTERS_PER_BUS = 20;
    static constexpr std::int64_t SAMPLES = 24'600'000;

    std::string dataDirectory;
    std::string zone; // the TZ value every program of the run gets
    std::time_t midnight = 0;
};

// Ready, or made now (a few minutes); false, with the reason, when it cannot.
bool PrepareLongDay(LongDay& day, std::string& error);
