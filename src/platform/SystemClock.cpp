#include "Clock.h"
#include "ManualResetEvent.h"

#include <thread>

std::time_t SystemClock::Now() {
    return std::time(nullptr);
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
