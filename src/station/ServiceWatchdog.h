#pragma once

#include <chrono>
#include <functional>
#include <string>

// Tells systemd that the station has started, how the plant does and, as long
// as it works, that it is alive, so a hung station is restarted. Without a
// notify socket every call does nothing.
class ServiceWatchdog {
public:
    using Notify = std::function<void(const std::string& state)>;

    // The watchdog time and notify socket systemd gave the service.
    ServiceWatchdog();
    // For tests: the period and where the notifications go.
    ServiceWatchdog(std::chrono::microseconds period, Notify notify);

    // The watchdog time; zero when systemd watches nothing.
    std::chrono::microseconds Period() const { return m_period; }
    void Ready() const;
    // Call every round: a ping at most every half period, and only while
    // working says that the station does its work.
    void Alive(bool working);
    // The line systemctl status shows; sent when it changes.
    void Status(const std::string& text);
    void Stopping() const;

private:
    std::chrono::microseconds m_period{0};
    Notify m_notify;
    std::chrono::steady_clock::time_point m_nextPing{};
    std::string m_status;
};
