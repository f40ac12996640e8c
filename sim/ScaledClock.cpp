#include "ScaledClock.h"

#include <cmath>

namespace sim {

ScaledClock::ScaledClock(std::int64_t start, double speed)
    : m_realStart(std::chrono::steady_clock::now()), m_start(start), m_speed(speed) {}

std::int64_t ScaledClock::Now() const {
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - m_realStart;
    return m_start + static_cast<std::int64_t>(std::floor(elapsed.count() * m_speed));
}

} // namespace sim
