#include "LoginThrottle.h"

#include <algorithm>

namespace {
constexpr std::size_t REMEMBERED = 1024;
}

LoginThrottle::Verdict LoginThrottle::Failed(const std::string& client, Clock::time_point now) {
    const std::lock_guard guard(m_lock);
    if (m_clients.size() >= REMEMBERED) {
        Forget(now);
    }
    const bool known = m_clients.count(client) != 0;
    Record& record = m_clients[client];
    if (known && now - record.last > WINDOW) {
        record.failures = 0;
    }
    ++record.failures;
    ++record.untold;
    record.last = now;
    Verdict verdict;
    const int doublings = std::min(record.failures - 1, 3);
    verdict.delay = std::min(MAX_DELAY, FIRST_DELAY * (1 << doublings));
    if (!known || now - record.told >= WINDOW) {
        verdict.logLine = "web dashboard: wrong user name or password from " + client;
        if (record.untold > 1) {
            verdict.logLine += " (" + std::to_string(record.untold) + " times since last told)";
        }
        record.told = now;
        record.untold = 0;
    }
    return verdict;
}

void LoginThrottle::Succeeded(const std::string& client) {
    const std::lock_guard guard(m_lock);
    const auto found = m_clients.find(client);
    if (found != m_clients.end() && found->second.untold == 0) {
        m_clients.erase(found);
    } else if (found != m_clients.end()) {
        found->second.failures = 0;
    }
}

// Beyond the bound, clients quiet for a minute go first; if all are busy,
// the map starts over rather than grow without end.
void LoginThrottle::Forget(Clock::time_point now) {
    std::erase_if(m_clients, [&](const auto& entry) { return now - entry.second.last > WINDOW; });
    if (m_clients.size() >= REMEMBERED) {
        m_clients.clear();
    }
}
