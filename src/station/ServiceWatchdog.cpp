#include "ServiceWatchdog.h"

#include <cstdint>
#include <systemd/sd-daemon.h>

namespace {
std::chrono::microseconds SystemdPeriod() {
    std::uint64_t timeout = 0;
    return std::chrono::microseconds(sd_watchdog_enabled(0, &timeout) > 0 ? timeout : 0);
}

void NotifySystemd(const std::string& state) {
    sd_notify(0, state.c_str());
}
} // namespace

ServiceWatchdog::ServiceWatchdog() : ServiceWatchdog(SystemdPeriod(), NotifySystemd) {}

ServiceWatchdog::ServiceWatchdog(std::chrono::microseconds period, Notify notify)
    : m_period(period), m_notify(std::move(notify)) {}

void ServiceWatchdog::Ready() const {
    m_notify("READY=1");
}

void ServiceWatchdog::Alive(bool working) {
    const auto now = std::chrono::steady_clock::now();
    if (!working || m_period.count() == 0 || now < m_nextPing) {
        return;
    }
    m_nextPing = now + m_period / 2;
    m_notify("WATCHDOG=1");
}

void ServiceWatchdog::Status(const std::string& text) {
    if (text != m_status) {
        m_status = text;
        m_notify("STATUS=" + text);
    }
}

void ServiceWatchdog::Stopping() const {
    m_notify("STOPPING=1");
}
