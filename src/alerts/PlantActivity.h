#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

struct PlantTotals;

// Whether the plant produces, and whether it has gone to sleep for the
// day, from the plant totals and, where the place is known, the sun.
class PlantActivity {
public:
    PlantActivity(std::optional<double> latitude, std::optional<double> longitude)
        : m_latitude(latitude), m_longitude(longitude) {}

    void Observe(const PlantTotals& totals, std::time_t now);
    // The plant makes at least a tenth of its recent peak power, or the sun
    // stands high enough for every inverter to run.
    bool Producing(std::time_t now) const;
    // It produced today and has made nothing for half an hour since noon
    // (with the place known: since sunset).
    bool Asleep(std::time_t now) const;

    // The highest power of the day before, kept across restarts.
    std::int64_t EarlierPeak() const { return m_earlierPeakW; }
    void SetEarlierPeak(std::int64_t watts) { m_earlierPeakW = watts; }

private:
    std::optional<double> SunElevationAt(std::time_t now) const;

    std::optional<double> m_latitude;
    std::optional<double> m_longitude;
    int m_day = 0;
    std::int64_t m_peakW = 0; // today's
    std::int64_t m_earlierPeakW = 0;
    double m_powerW = 0.0;
    bool m_producedToday = false;
    std::optional<std::time_t> m_idleSince;
};
