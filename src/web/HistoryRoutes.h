#pragma once

#include "WebRoute.h"

// A month's energy by day and a year's by month, from the history summary.
WebRoute MonthRoute;
WebRoute YearRoute;
// A day, month or year of the plant or one inverter as the history window
// exports it: ?period=day|month|year&date=...&serial=...
WebRoute HistoryCsvRoute;
