#pragma once

#include "SummaryRows.h"
#include "model/DaySeries.h"

#include <cstdint>
#include <ctime>
#include <utility>
#include <vector>

// The plant's power and energy over a day so far, made of its inverters'
// spans as the live curves would have made them: power sums what each
// inverter last read, while its reading stays fresh; energy sums the energy
// of the day each inverter reached, from its first sample of the day. A span
// in which no inverter reported has no point.
class PlantPast {
public:
    // Spans from the day's start up to the one holding `until`; a reading
    // is fresh for staleSeconds.
    PlantPast(std::time_t dayStart, std::time_t until, std::time_t staleSeconds);

    // One inverter's spans in time order, all at once or row by row; another
    // source ends the one before.
    void Add(std::int64_t source, const SpanRow& row);
    // Ends the last inverter.
    void Finish();

    CDaySeries Power() const;
    CDaySeries Energy() const;
    // The energy of the day (kWh) each inverter reached, by source.
    const std::vector<std::pair<std::int64_t, double>>& Reached() const { return m_reached; }

private:
    struct Span {
        bool reported = false;
        double mean = 0.0;
        double min = 0.0;
        double max = 0.0;
        double first = 0.0;
        double last = 0.0;
        int firstSecond = CTimeBucket::SECONDS;
        int lastSecond = 0;
        int longestStep = 0;
        double energyWh = 0.0;
    };
    struct Source {
        std::int64_t id = -1;
        std::int64_t lastIndex = -1; // span of the last row
        std::time_t lastTime = 0;
        double lastW = 0.0;
        std::int64_t eTodayWh = 0;
    };

    void CarryUntil(std::int64_t index);
    std::int64_t IndexOf(std::time_t time) const;
    CTimeBucket BucketAt(std::size_t index, double first, double last) const;

    std::time_t m_tDayStart;
    std::time_t m_tStale;
    std::vector<Span> m_spans;
    Source m_source;
    std::vector<std::pair<std::int64_t, double>> m_reached;
};
