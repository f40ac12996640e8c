#pragma once

#include "SimClock.h"

#include <chrono>

namespace sim {

// Real time, shifted to start at a chosen moment and run faster, so a demo can
// show a whole day in minutes.
class ScaledClock : public SimClock {
public:
    ScaledClock(std::int64_t start, double speed);

    std::int64_t Now() const override;

private:
    std::chrono::steady_clock::time_point m_realStart;
    std::int64_t m_start;
    double m_speed;
};

} // namespace sim
