#include "Clock.h"
#include "ManualResetEvent.h"

#include <thread>

std::time_t SystemClock::Now() {
    return std::time(nullptr);
}

std::chrono::milliseconds SystemClock::Monotonic() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

void SystemClock::Sleep(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

bool SystemClock::WaitForEvent(const ManualResetEvent& event, std::chrono::milliseconds timeout) {
    return event.WaitFor(timeout);
}

SystemClock& SystemClock::Instance() {
    static SystemClock clock;
    return clock;
}
