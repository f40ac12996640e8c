#pragma once

#include <optional>
#include <string>
#include <vector>

enum class PeriodKind { DAY, MONTH, YEAR, ALL };

// A stretch of local days the history is looked at by: one day, a month, a
// year or all years, named by any day inside it (a yyyymmdd key).
struct HistoryPeriod {
    PeriodKind kind = PeriodKind::DAY;
    int anchor = 0;

    int FirstDay() const;
    int LastDay() const;
    // The same kind of period before (-1) or after (+1) this one.
    HistoryPeriod Step(int direction) const;
    // "2026-11-03", "2026-11", "2026" or "All years".
    std::string Label() const;

    // How the bars of the period are keyed: days (1), months (100) or years
    // (10000) divide a day key into the key of its bar.
    int BarDivisor() const;
    // Every bar of the period in order: the days of a month, the months of a
    // year, the years from firstYear to lastYear for all years.
    std::vector<int> BarKeys(int firstYear, int lastYear) const;
};

// A bar key as text: "2026-11-03", "2026-11" or "2026" by the divisor.
std::string PeriodKeyText(int key, int divisor);

// "2026-11-03", "2026-11" or "2026" as the day key of the period's first day;
// nothing when the text is not one of those forms or not the form the kind
// needs (a day needs all three parts, a month at least two).
std::optional<int> ParsePeriodDate(const std::string& text, PeriodKind kind);
