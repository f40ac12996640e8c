#include "ReadingModel.h"

#include "SunModel.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {
constexpr double TEMP_RISE_AT_RATED_TENTHS = 250.0;
constexpr double CONVERSION_EFFICIENCY = 0.96;
constexpr std::array<double, 3> STRING_SHARE{1.0, 0.985, 0.97};
constexpr std::array<int, 3> PHASE_VAC_OFFSET_TENTHS{0, 12, -8};
constexpr int NOMINAL_VAC_TENTHS = 2300;
constexpr int NOMINAL_FAC_HUNDREDTHS = 5000;
constexpr int NOMINAL_ZAC_MOHM = 250;

std::uint16_t ToWord(double value) {
    return static_cast<std::uint16_t>(std::clamp(std::lround(value), 0L, 0xFFFFL));
}

// Slow wobble of the grid, the same for every inverter at the same moment.
double GridWobble(std::int64_t now, double period, double phase) {
    return std::sin(static_cast<double>(now) / period + phase);
}

void FillPv(InverterReading& reading, const InverterProfile& profile, double fraction,
            double watts) {
    const std::size_t strings = profile.kind == InverterKind::Three ? 3 : 2;
    if (fraction <= 0.0) {
        return;
    }
    const double stringWatts = watts / CONVERSION_EFFICIENCY / static_cast<double>(strings);
    for (std::size_t i = 0; i < strings; ++i) {
        const double volts =
            profile.nominalVpvTenths / 10.0 * (0.90 + 0.10 * fraction) * STRING_SHARE[i];
        reading.vpv[i] = ToWord(volts * 10.0);
        reading.ipv[i] = ToWord(stringWatts / volts * 10.0);
    }
}

void FillGrid(InverterReading& reading, const InverterProfile& profile, double watts,
              std::int64_t now) {
    const std::size_t phases = profile.kind == InverterKind::Three ? 3 : 1;
    const long totalTenths = std::lround(watts * 10.0);
    for (std::size_t i = 0; i < phases; ++i) {
        // The first phase takes the rounding remainder, so the phases add up
        // to the total exactly.
        const long share = totalTenths / static_cast<long>(phases);
        const long phaseTenths =
            i == 0 ? totalTenths - share * static_cast<long>(phases - 1) : share;
        const double vacTenths = NOMINAL_VAC_TENTHS + PHASE_VAC_OFFSET_TENTHS[i] +
                                 15.0 * GridWobble(now, 437.0, static_cast<double>(i));
        reading.pac[i] = ToWord(static_cast<double>(phaseTenths));
        reading.vac[i] = ToWord(vacTenths);
        reading.iac[i] = ToWord(static_cast<double>(phaseTenths) * 10.0 / vacTenths);
        reading.fac[i] = ToWord(NOMINAL_FAC_HUNDREDTHS + 2.0 * GridWobble(now, 311.0, 0.0));
    }
    reading.zac = ToWord(NOMINAL_ZAC_MOHM + 20.0 * GridWobble(now, 733.0, 1.0));
}

void FillCounters(InverterReading& reading, const InverterProfile& profile,
                  const EnergyCounters& counters, const LocalDayTime& at) {
    const double ratedKw = profile.ratedPowerW / 1000.0 * profile.variation;
    reading.eToday = ToWord(ratedKw * SunModel::RatedHoursToday(at.second) * 100.0);
    const double ratedHours =
        SunModel::RatedHoursUntil(at) - SunModel::RatedHoursUntil(counters.origin);
    const double energyTenths = std::max(0.0, ratedKw * ratedHours * 10.0);
    SetLifetimeEnergy(reading, profile.kind,
                      counters.eTotalBase + static_cast<std::uint32_t>(std::llround(energyTenths)));
    const double hours =
        SunModel::ProductionHoursUntil(at) - SunModel::ProductionHoursUntil(counters.origin);
    reading.hTotal = counters.hTotalBase + static_cast<std::uint32_t>(std::max(0.0, hours));
}
} // namespace

void SetLifetimeEnergy(InverterReading& reading, InverterKind kind, std::uint32_t tenths) {
    reading.eTotal = tenths;
    if (kind != InverterKind::Three) {
        reading.eTotalPhase[0] = tenths;
        return;
    }
    // Phase i counts floor((E + 2 - i) / 3): each share grows with the total,
    // never back, and the three add up to it exactly.
    for (std::uint32_t phase = 0; phase < 3; ++phase) {
        reading.eTotalPhase[phase] = (tenths + 2 - phase) / 3;
    }
}

InverterReading ComputeReading(const InverterProfile& profile, const EnergyCounters& counters,
                               std::int64_t now) {
    const LocalDayTime at = LocalDayTime::FromTime(now);
    const double fraction = SunModel::PowerFraction(at.second);
    const double watts = profile.ratedPowerW * profile.variation * fraction;
    InverterReading reading;
    reading.mode = fraction > 0.0 ? 1 : 0;
    reading.temp = static_cast<std::int16_t>(
        std::lround(profile.ambientTenths + TEMP_RISE_AT_RATED_TENTHS * fraction));
    FillPv(reading, profile, fraction, watts);
    FillGrid(reading, profile, watts, now);
    FillCounters(reading, profile, counters, at);
    return reading;
}

} // namespace sim
