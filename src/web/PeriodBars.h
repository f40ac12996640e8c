#pragma once

#include "history/HistoryPeriod.h"

#include <QJsonObject>
#include <optional>
#include <string>

// A month ("YYYY-MM") or a year ("YYYY") named in a query; nothing for any
// other form, so that a mistyped date is refused rather than read as another.
std::optional<HistoryPeriod> PeriodOfText(const std::string& text, PeriodKind kind);

struct PeriodAnswer {
    int status = 200;
    std::string problem; // when the status is not 200
    QJsonObject json;
};

// A month's energy by day or a year's by month from the history summary, for
// the plant (serial empty) or one inverter, with the period's energy, peak
// and best day.
PeriodAnswer SummaryPeriodBars(const std::string& summaryPath, const HistoryPeriod& period,
                               const std::string& serial);
