#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <string>

// Wrong passwords cost their sender time: each answer comes later than the
// last, up to a cap, and a person hears of them once a minute per client.
class LoginThrottle {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds FIRST_DELAY{250};
    static constexpr std::chrono::milliseconds MAX_DELAY{2000};
    static constexpr std::chrono::seconds WINDOW{60};

    struct Verdict {
        std::chrono::milliseconds delay{0};
        std::string logLine; // empty when this client was told of within the minute
    };
    Verdict Failed(const std::string& client, Clock::time_point now);
    void Succeeded(const std::string& client);

private:
    struct Record {
        int failures = 0;
        int untold = 0;
        Clock::time_point last;
        Clock::time_point told;
    };
    void Forget(Clock::time_point now);

    std::mutex m_lock;
    std::map<std::string, Record> m_clients;
};
