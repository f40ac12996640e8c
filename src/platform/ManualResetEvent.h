#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// An event that stays set until it is reset, waking every waiter.
class ManualResetEvent {
public:
    void Set();
    void Reset();
    bool IsSet() const;
    // True when the event is set, at once or within the timeout.
    bool WaitFor(std::chrono::milliseconds timeout) const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_bSet = false;
};
