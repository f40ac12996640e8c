#pragma once

#include "history/HistoryPeriod.h"

#include <string>

class SummaryReader;

// The energy table of a day (by hour), month (by day) or year (by month)
// from the summary: each row begins with its ISO date, month or hour, then
// the plant's energy in kWh and one column per inverter; with a serial
// number, that inverter's only. False, with the reason, when the serial
// number is unknown or the summary cannot be read.
bool HistoryReport(SummaryReader& reader, const HistoryPeriod& period, const std::string& serial,
                   std::string& text, std::string& problem);
