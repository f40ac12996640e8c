#pragma once

#include "model/DaySeries.h"

#include <ctime>
#include <string>

class SummaryReader;

// Where the day of an inverter is read back from: the history summary's
// spans when it holds the whole day (summary may be null), the end of the
// inverter's history file for the rest.
struct PastSources {
    SummaryReader* summary = nullptr;
    std::time_t spansSince = 0; // the summary has every span from here on
    std::string histLogDirectory;
};

// One inverter's day before a moment: the summary's spans up to the recent
// stretch or to where the summary stopped reading, whichever comes first,
// and every sample of the file from there on.
CDaySeries ReadInverterPast(const PastSources& sources, const std::string& historyFileName,
                            std::time_t before);
