#pragma once

#include <chrono>
#include <ctime>

class ManualResetEvent;

// Time as the communication schedule sees it, so that the schedule can run in
// virtual time under test.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::time_t Now() = 0; // whole seconds since the epoch
    virtual void Sleep(std::chrono::milliseconds duration) = 0;
    // Waits up to timeout for the event; true when it is set.
    virtual bool WaitForEvent(const ManualResetEvent& event, std::chrono::milliseconds timeout) = 0;
};

class SystemClock : public Clock {
public:
    std::time_t Now() override;
    void Sleep(std::chrono::milliseconds duration) override;
    bool WaitForEvent(const ManualResetEvent& event, std::chrono::milliseconds timeout) override;

    static SystemClock& Instance();
};
