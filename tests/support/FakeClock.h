#pragma once

#include "platform/Clock.h"

#include <atomic>
#include <cstdint>
#include <functional>

// Virtual time: sleeping and waiting advance it at once. onWait runs at every
// event wait, so a test can act at chosen moments (set the exit event, raise
// a request) while the communication thread runs on the test's own thread.
// The wall clock can be stepped apart from the monotonic one.
class FakeClock : public Clock {
public:
    explicit FakeClock(std::time_t start);

    std::time_t Now() override;
    std::chrono::milliseconds Monotonic() override;
    void Sleep(std::chrono::milliseconds duration) override;
    bool WaitForEvent(const ManualResetEvent& event, std::chrono::milliseconds timeout) override;

    // Moves both clocks on.
    void Advance(std::chrono::milliseconds duration);
    // Sets the wall clock forward or back, as an administrator or a time
    // service does; the monotonic clock does not notice.
    void StepWall(std::chrono::seconds step);
    // Monotonic readings.
    std::int64_t NowMs() const { return m_nowMs.load(); }
    std::int64_t ElapsedMs() const { return m_nowMs.load() - m_startMs; }

    std::function<void(FakeClock&)> onWait;
    int sleeps = 0;

private:
    std::int64_t m_startMs;
    std::atomic<std::int64_t> m_nowMs;
    std::atomic<std::int64_t> m_wallStepMs{0};
};
