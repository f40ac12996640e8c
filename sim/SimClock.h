#pragma once

#include <cstdint>

namespace sim {

// The time the simulated plant lives in, in seconds since 1970-01-01 UTC.
// Everything that depends on the time of day asks this, so tests can move it.
class SimClock {
public:
    virtual ~SimClock() = default;
    virtual std::int64_t Now() const = 0;
};

} // namespace sim
