#pragma once

#include "SimClock.h"

#include <cstdint>

// Simulated time that stands still, so that a reading the test takes equals
// the one the station polled a moment earlier.
class FrozenSimClock : public sim::SimClock {
public:
    explicit FrozenSimClock(std::int64_t now) : m_now(now) {}
    std::int64_t Now() const override { return m_now; }

private:
    const std::int64_t m_now;
};
