#pragma once

#include "Alert.h"

#include <ctime>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class ConditionTracker;

// Conditions that count only once they have held for a while: an inverter
// offline, a port that does not open, the broker away. Time counts only
// while the circumstances say it should (for an offline inverter: while
// the plant produces). A short pause, as when a slow polling cycle leaves
// the plant's power unknown for a moment, only stops the count; half an
// hour without counting (a night) starts it again from zero.
class LastingConditions {
public:
    // The opening as it is announced, once the condition held long enough.
    using Opening = std::function<Alert()>;

    LastingConditions(ConditionTracker& tracker, std::time_t limitSeconds)
        : m_tracker(tracker), m_limit(limitSeconds) {}

    // The condition holds from now on; a second call keeps its start and
    // takes the newer opening.
    void Begin(const std::string& identity, Opening opening, std::time_t now);
    // It is over: forgotten if it was never announced, otherwise its end is
    // what to tell.
    std::optional<Alert> End(const Alert& closing, std::time_t now);
    // Announces what has held long enough; nothing counts while counting is
    // false.
    std::vector<Alert> Tick(std::time_t now, bool counting);

private:
    struct Pending {
        Opening opening;
        std::time_t counted = 0;
        std::time_t lastTick = 0;
        std::optional<std::time_t> pausedSince;
    };

    ConditionTracker& m_tracker;
    std::time_t m_limit;
    std::map<std::string, Pending> m_waiting;
};
