#include "SummaryDayFacts.h"

#include "history/SummaryReader.h"
#include "store/LocalCalendar.h"

std::optional<DayYields> SummaryDayFacts::Yields(int firstDay, int lastDay,
                                                 std::string& problem) {
    SummaryReader reader;
    if (!reader.Open(m_path, &problem)) {
        return std::nullopt;
    }
    std::map<std::int64_t, std::string> serials;
    for (const SummarySource& source : reader.Sources()) {
        serials[source.id] = source.name;
    }
    DayYields yields;
    for (auto& [source, days] : reader.EnergyBySource(firstDay, lastDay, 1)) {
        if (const auto serial = serials.find(source); serial != serials.end()) {
            yields[serial->second] = std::move(days);
        }
    }
    return yields;
}

std::optional<DayPeak> SummaryDayFacts::PlantPeak(int day, std::string& problem) {
    SummaryReader reader;
    if (!reader.Open(m_path, &problem)) {
        return std::nullopt;
    }
    const LocalCalendar::Day bounds = LocalCalendar().Bounds(day);
    const PeakPower peak = reader.Peak(day, day, bounds.start, bounds.end, SummaryReader::PLANT);
    return DayPeak{peak.watts, peak.time};
}
