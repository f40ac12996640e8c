#include "PeriodFigures.h"

#include <algorithm>

namespace {
void FindBestDay(const std::map<int, std::int64_t>& days, PeriodFigures& figures) {
    for (const auto& [day, energy] : days) {
        if (figures.bestDay == 0 || energy > figures.bestDayWh) {
            figures.bestDay = day;
            figures.bestDayWh = energy;
        }
    }
}
} // namespace

PeriodFigures LoadPeriodFigures(SummaryReader& reader, const HistoryPeriod& period,
                                std::int64_t source) {
    PeriodFigures figures;
    LocalCalendar calendar;
    const auto [firstData, lastData] = reader.DaysWithData();
    const int firstDay = period.kind == PeriodKind::ALL ? firstData : period.FirstDay();
    const int lastDay = period.kind == PeriodKind::ALL ? lastData : period.LastDay();
    if (firstDay == 0) {
        return figures;
    }
    const std::map<int, std::int64_t> days = reader.Energy(firstDay, lastDay, 1, source);
    for (const auto& [day, energy] : days) {
        figures.energyWh += energy;
    }
    figures.any = !days.empty();
    FindBestDay(days, figures);
    figures.day = calendar.Bounds(firstDay);
    const std::time_t end = calendar.Bounds(lastDay).end;
    figures.peak = reader.Peak(firstDay, lastDay, figures.day.start, end, source);
    if (period.kind == PeriodKind::DAY) {
        figures.curve = reader.Curve(figures.day.start, figures.day.end, source);
        return figures;
    }
    figures.barKeys = period.BarKeys(firstData / 10000, lastData / 10000);
    figures.bars = period.BarDivisor() == 1
                       ? days
                       : reader.Energy(firstDay, lastDay, period.BarDivisor(), source);
    return figures;
}
