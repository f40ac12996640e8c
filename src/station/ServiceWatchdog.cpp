#include "ServiceWatchdog.h"

#include <cstdint>
#include <systemd/sd-daemon.h>

ServiceWatchdog::ServiceWatchdog() {
    std::uint64_t timeout = 0;
    if (sd_watchdog_enabled(0, &timeout) > 0) {
        m_pingPeriod = std::chrono::microseconds(timeout / 2);
    }
}

void ServiceWatchdog::Ready() const {
    sd_notify(0, "READY=1");
}

void ServiceWatchdog::Alive() {
    const auto now = std::chrono::steady_clock::now();
    if (m_pingPeriod.count() == 0 || now < m_nextPing) {
        return;
    }
    m_nextPing = now + m_pingPeriod;
    sd_notify(0, "WATCHDOG=1");
}

void ServiceWatchdog::Stopping() const {
    sd_notify(0, "STOPPING=1");
}
