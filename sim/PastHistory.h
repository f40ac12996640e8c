#pragma once

#include "BusLayout.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sim {

// What to write: the plant of the buses over the days before today.
struct PastHistoryPlan {
    std::vector<BusLayout> buses;
    std::string serialPrefix = "SIM";
    int days = 90;
    int intervalSeconds = 60;
    // The share of the clear-sky output an inverter (by serial number) makes
    // on a local day (days since 1970-01-01); empty: each day's weather, the
    // same for the whole plant.
    std::function<double(const std::string& serialNo, std::int64_t day)> sky;
};

struct PastHistoryResult {
    int files = 0;
    std::int64_t lines = 0;
};

// Writes the history file of every inverter of the plan into the directory,
// line by line as the station writes them after a poll, from sunrise to
// sunset of each past day; each day has its own weather, the same for the
// whole plant. Refuses, with the reason, to touch a file that exists.
bool WritePastHistory(const PastHistoryPlan& plan, const std::string& histLogDirectory,
                      std::int64_t now, PastHistoryResult& result, std::string& error);

} // namespace sim
