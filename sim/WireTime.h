#pragma once

#include <chrono>

namespace sim {

// Whether replies take the time a real line would give them: each byte one
// character time after the previous one, and the inverter's turnaround
// between a request's last byte and the reply's first. Unpaced, replies leave
// whole and at once.
struct WireTime {
    bool paced = true;
    std::chrono::microseconds turnaround{5000};
};

} // namespace sim
