#include "SummaryDayFacts.h"

#include "history/SummaryReader.h"
#include "store/LocalCalendar.h"

Outcome<DayYields> SummaryDayFacts::Yields(int firstDay, int lastDay) {
    SummaryReader reader;
    std::string problem;
    if (!reader.Open(m_path, &problem)) {
        return Outcome<DayYields>::Failure(problem);
    }
    const auto sources = reader.Sources();
    if (!sources) {
        return Outcome<DayYields>::Failure(sources.Reason());
    }
    auto energy = reader.EnergyBySource(firstDay, lastDay, 1);
    if (!energy) {
        return Outcome<DayYields>::Failure(energy.Reason());
    }
    DayYields yields;
    for (const SummarySource& source : *sources) {
        if (const auto days = (*energy).find(source.id); days != (*energy).end()) {
            yields[source.name] = std::move(days->second);
        }
    }
    return yields;
}

Outcome<DayPeak> SummaryDayFacts::PlantPeak(int day) {
    SummaryReader reader;
    std::string problem;
    if (!reader.Open(m_path, &problem)) {
        return Outcome<DayPeak>::Failure(problem);
    }
    const LocalCalendar::Day bounds = LocalCalendar().Bounds(day);
    const auto peak = reader.Peak(day, day, bounds.start, bounds.end, SummaryReader::PLANT);
    if (!peak) {
        return Outcome<DayPeak>::Failure(peak.Reason());
    }
    return DayPeak{peak->watts, peak->time};
}
