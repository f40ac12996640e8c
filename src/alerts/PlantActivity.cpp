#include "PlantActivity.h"

#include "SunPosition.h"
#include "store/LocalCalendar.h"
#include "store/PlantTotals.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double PRODUCING_SHARE = 0.1;
// Below this an inverter facing away from the sun may not run yet.
constexpr double DAYLIGHT_ELEVATION = 10.0;
constexpr std::time_t ASLEEP_AFTER = 30 * 60;
constexpr int NOON = 12;

int LocalHour(std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_hour;
}
} // namespace

void PlantActivity::Observe(const PlantTotals& totals, std::time_t now) {
    if (const int day = LocalCalendar().DayKeyOf(now); day != m_day) {
        if (m_day != 0) {
            m_earlierPeakW = m_peakW;
        }
        m_day = day;
        m_peakW = 0;
        m_producedToday = false;
    }
    m_powerW = totals.reporting > 0 ? totals.powerW : 0.0;
    m_peakW = std::max(m_peakW, static_cast<std::int64_t>(std::llround(m_powerW)));
    if (m_powerW > 0.0) {
        m_producedToday = true;
        m_idleSince.reset();
    } else if (!m_idleSince) {
        m_idleSince = now;
    }
}

bool PlantActivity::Producing(std::time_t now) const {
    const double reference = static_cast<double>(std::max(m_peakW, m_earlierPeakW));
    if (m_powerW > 0.0 && m_powerW >= PRODUCING_SHARE * reference) {
        return true;
    }
    const std::optional<double> elevation = SunElevationAt(now);
    return elevation && *elevation >= DAYLIGHT_ELEVATION;
}

bool PlantActivity::Asleep(std::time_t now) const {
    if (!m_producedToday || !m_idleSince || now - *m_idleSince < ASLEEP_AFTER) {
        return false;
    }
    const std::optional<double> elevation = SunElevationAt(now);
    return elevation ? *elevation < 0.0 : LocalHour(now) >= NOON;
}

std::optional<double> PlantActivity::SunElevationAt(std::time_t now) const {
    if (!m_latitude || !m_longitude) {
        return std::nullopt;
    }
    return SunElevation(*m_latitude, *m_longitude, now);
}
