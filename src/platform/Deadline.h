#pragma once

#include <chrono>
#include <ctime>

// A point on the monotonic clock a fixed number of milliseconds after the
// moment of construction.
class Deadline {
public:
    explicit Deadline(int milliseconds)
        : m_end(Clock::now() + std::chrono::milliseconds(milliseconds)) {}
    // A point given as time since the monotonic clock's origin.
    explicit Deadline(std::chrono::nanoseconds sinceOrigin) : m_end(sinceOrigin) {}

    static std::chrono::nanoseconds SinceOrigin() { return Clock::now().time_since_epoch(); }

    bool Passed() const { return Clock::now() >= m_end; }

    // Time left, never negative, for ppoll.
    timespec Remaining() const {
        const auto left =
            std::chrono::duration_cast<std::chrono::nanoseconds>(m_end - Clock::now());
        if (left.count() <= 0) {
            return timespec{0, 0};
        }
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
        return timespec{static_cast<time_t>(seconds.count()),
                        static_cast<long>((left - seconds).count())};
    }

private:
    using Clock = std::chrono::steady_clock; // CLOCK_MONOTONIC
    Clock::time_point m_end;
};
