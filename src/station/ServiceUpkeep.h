#pragma once

#include "PortHeartbeatCheck.h"

#include <chrono>
#include <string>

class CHeliowatchDoc;
class Clock;
class ServiceWatchdog;

// What the headless station tells systemd every round: that it is alive, as
// long as every port's thread steps, and the plant's status line.
class ServiceUpkeep {
public:
    // clock is the communication threads' clock.
    ServiceUpkeep(const CHeliowatchDoc& document, ServiceWatchdog& watchdog, Clock& clock,
                  std::string settingsFile);

    void Round();

private:
    void UpdateStatus();

    const CHeliowatchDoc& m_document;
    ServiceWatchdog& m_watchdog;
    Clock& m_clock;
    std::string m_settingsFile;
    PortHeartbeatCheck m_heartbeats;
    std::chrono::milliseconds m_nextStatus{0};
};
