#pragma once

#include <string>

struct PlantTotals;

// The plant in the line systemctl status shows:
// "380 of 380 reporting, 2 faults, 163 kW".
std::string ServiceStatusLine(const PlantTotals& totals);

// What a station with nothing to poll says: the settings file to edit (or
// create, when it is missing) and how.
std::string NoPortAdvice(const std::string& settingsFile);
