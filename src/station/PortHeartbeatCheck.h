#pragma once

#include <chrono>
#include <set>

class CHeliowatchDoc;

// Tells whether every port's communication thread has finished a step within
// the period, so that the service watchdog is fed only while all of them
// work. A port that stops stepping is logged as an error once, and again as
// information when it steps again.
class PortHeartbeatCheck {
public:
    explicit PortHeartbeatCheck(std::chrono::milliseconds period) : m_period(period) {}

    // now on the monotonic scale of the threads' clock.
    bool AllStepping(const CHeliowatchDoc& document, std::chrono::milliseconds now);

private:
    std::chrono::milliseconds m_period;
    std::set<int> m_stuckPorts;
};
