#pragma once

#include "Alert.h"

#include <ctime>

// What the owner has been told of one condition (an inverter in fault, a
// port that cannot open, ...), kept across restarts so that nothing is
// announced twice.
struct ConditionRecord {
    Alert alert;                // its last opening: identity, subject, title and text
    bool open = false;          // it holds now
    bool announcedOpen = false; // the owner's last word of it was "open"
    std::time_t openedAt = 0;   // when it last opened
    std::time_t windowEnd = 0;  // openings before this are folded into a count
    int occurrences = 0;        // openings in the window
    int folded = 0;             // of those, the ones not announced yet
};

// Where the records are kept.
class ConditionStore {
public:
    virtual ~ConditionStore() = default;
    virtual void SaveCondition(const ConditionRecord& record) = 0;
    virtual void DropCondition(const std::string& identity) = 0;
};
