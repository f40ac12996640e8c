#include "FakeClock.h"

#include "platform/ManualResetEvent.h"

FakeClock::FakeClock(std::time_t start) : m_startMs(start * 1000), m_nowMs(start * 1000) {}

std::time_t FakeClock::Now() {
    return static_cast<std::time_t>((m_nowMs.load() + m_wallStepMs.load()) / 1000);
}

std::chrono::milliseconds FakeClock::Monotonic() {
    return std::chrono::milliseconds(m_nowMs.load());
}

void FakeClock::Sleep(std::chrono::milliseconds duration) {
    ++sleeps;
    Advance(duration);
}

bool FakeClock::WaitForEvent(const ManualResetEvent& event, std::chrono::milliseconds timeout) {
    if (onWait) {
        onWait(*this);
    }
    if (event.IsSet()) {
        return true;
    }
    Advance(timeout);
    return event.IsSet();
}

void FakeClock::Advance(std::chrono::milliseconds duration) {
    m_nowMs += duration.count();
}

void FakeClock::StepWall(std::chrono::seconds step) {
    m_wallStepMs += std::chrono::milliseconds(step).count();
}
