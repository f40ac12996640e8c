#pragma once

#include "HistoryPeriod.h"
#include "platform/Outcome.h"

#include <cstdint>
#include <string>

class SummaryReader;

// The summary of a period as a CSV file a spreadsheet opens as it is: CR LF
// line ends, a dot for decimals, times in ISO 8601 with their UTC offset,
// units in the headers. A day gives one row per 5-minute stretch of its 23,
// 24 or 25 hours; longer periods one row per day, month or year, with a
// column per inverter when the plant is shown. Empty cells mean no samples.
Outcome<std::string> HistoryCsv(SummaryReader& reader, const HistoryPeriod& period,
                                std::int64_t source);
