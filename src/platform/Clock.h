#pragma once

#include <chrono>
#include <ctime>

class ManualResetEvent;

// Time as the communication schedule sees it, so that the schedule can run in
// virtual time under test.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::time_t Now() = 0; // wall clock, whole seconds since the epoch
    // Time since an arbitrary fixed moment that never steps: for measuring waits.
    virtual std::chrono::milliseconds Monotonic() = 0;
    virtual void Sleep(std::chrono::milliseconds duration) = 0;
    // Waits up to timeout for the event; true when it is set.
    virtual bool WaitForEvent(const ManualResetEvent& event, std::chrono::milliseconds timeout) = 0;
};

class SystemClock : public Clock {
public:
    std::time_t Now() override;
    std::chrono::milliseconds Monotonic() override;
    void Sleep(std::chrono::milliseconds duration) override;
    bool WaitForEvent(const ManualResetEvent& event, std::chrono::milliseconds timeout) override;

    static SystemClock& Instance();
};
