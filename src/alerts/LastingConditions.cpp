#include "LastingConditions.h"

#include "ConditionTracker.h"

namespace {
constexpr std::time_t RESTART_AFTER = 30 * 60;
} // namespace

void LastingConditions::Begin(const std::string& identity, Opening opening, std::time_t now) {
    if (m_tracker.IsOpen(identity)) {
        return;
    }
    auto [waiting, added] = m_waiting.try_emplace(identity);
    waiting->second.opening = std::move(opening);
    if (added) {
        waiting->second.lastTick = now;
    }
}

std::optional<Alert> LastingConditions::End(const Alert& closing, std::time_t now) {
    m_waiting.erase(closing.identity);
    return m_tracker.Close(closing, now);
}

std::vector<Alert> LastingConditions::Tick(std::time_t now, bool counting) {
    std::vector<Alert> told;
    for (auto waiting = m_waiting.begin(); waiting != m_waiting.end();) {
        Pending& pending = waiting->second;
        if (counting) {
            pending.counted += now - pending.lastTick;
            pending.pausedSince.reset();
        } else if (!pending.pausedSince) {
            pending.pausedSince = now;
        } else if (now - *pending.pausedSince >= RESTART_AFTER) {
            pending.counted = 0;
        }
        pending.lastTick = now;
        if (pending.counted < m_limit) {
            ++waiting;
            continue;
        }
        if (auto opened = m_tracker.Open(pending.opening(), now)) {
            told.push_back(std::move(*opened));
        }
        waiting = m_waiting.erase(waiting);
    }
    return told;
}
