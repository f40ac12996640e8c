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

Outcome<PeriodFigures> LoadPeriodFigures(SummaryReader& reader, const HistoryPeriod& period,
                                         std::int64_t source) {
    using Failed = Outcome<PeriodFigures>;
    PeriodFigures figures;
    LocalCalendar calendar;
    const auto data = reader.DaysWithData();
    if (!data) {
        return Failed::Failure(data.Reason());
    }
    const auto [firstData, lastData] = *data;
    const int firstDay = period.kind == PeriodKind::ALL ? firstData : period.FirstDay();
    const int lastDay = period.kind == PeriodKind::ALL ? lastData : period.LastDay();
    if (firstDay == 0) {
        return figures;
    }
    const auto days = reader.Energy(firstDay, lastDay, 1, source);
    figures.day = calendar.Bounds(firstDay);
    const auto peak =
        reader.Peak(firstDay, lastDay, figures.day.start, calendar.Bounds(lastDay).end, source);
    if (!days || !peak) {
        return Failed::Failure(!days ? days.Reason() : peak.Reason());
    }
    for (const auto& [day, energy] : *days) {
        figures.energyWh += energy;
    }
    figures.any = !days->empty();
    FindBestDay(*days, figures);
    figures.peak = *peak;
    if (period.kind == PeriodKind::DAY) {
        auto curve = reader.Curve(figures.day.start, figures.day.end, source);
        if (!curve) {
            return Failed::Failure(curve.Reason());
        }
        figures.curve = std::move(*curve);
        return figures;
    }
    figures.barKeys = period.BarKeys(firstData / 10000, lastData / 10000);
    auto bars = period.BarDivisor() == 1
                    ? days
                    : reader.Energy(firstDay, lastDay, period.BarDivisor(), source);
    if (!bars) {
        return Failed::Failure(bars.Reason());
    }
    figures.bars = std::move(*bars);
    return figures;
}
