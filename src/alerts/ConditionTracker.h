#pragma once

#include "ConditionRecord.h"

#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Announces each condition once when it opens and once when it ends. An
// opening within RepeatMinutes of the last announced one is folded: nothing
// is said then, and when that window ends one alert tells how often it
// opened and whether it holds now. Every change is kept in the store.
class ConditionTracker {
public:
    ConditionTracker(ConditionStore& store, int repeatMinutes)
        : m_store(store), m_repeatSeconds(std::time_t{repeatMinutes} * 60) {}

    void Restore(const std::vector<ConditionRecord>& records);
    // What to tell of the opening now, if anything.
    std::optional<Alert> Open(const Alert& opening, std::time_t now);
    // What to tell of the end now, if anything; closing carries its text.
    std::optional<Alert> Close(const Alert& closing, std::time_t now);
    // The folded openings of windows that ended.
    std::vector<Alert> Tick(std::time_t now);

    bool IsOpen(const std::string& identity) const;
    // When the open condition began; nothing when it does not hold.
    std::optional<std::time_t> OpenSince(const std::string& identity) const;

private:
    Alert Folded(ConditionRecord& record, std::time_t now) const;

    ConditionStore& m_store;
    std::time_t m_repeatSeconds;
    std::map<std::string, ConditionRecord> m_records;
};
