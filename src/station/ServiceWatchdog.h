#pragma once

#include <chrono>

// Tells systemd that the station has started and, as long as its main loop
// turns, that it is alive, so a hung station is restarted. Without a notify
// socket every call does nothing.
class ServiceWatchdog {
public:
    ServiceWatchdog();

    void Ready() const;
    // A ping at most every half of the watchdog time; call it every round.
    void Alive();
    void Stopping() const;

private:
    std::chrono::microseconds m_pingPeriod{0};
    std::chrono::steady_clock::time_point m_nextPing{};
};
