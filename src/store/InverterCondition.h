#pragma once

#include <ctime>
#include <string>

class CInverter;

// What an operator must know about an inverter at a glance, from the same
// rule of freshness as the plant totals.
enum class ConditionKind {
    Normal,   // fresh readings, no error bits
    Fault,    // fresh readings with error bits
    Stale,    // missed polls: the values are the last known
    PortLost, // its port failed: the values are the last known
    Offline,  // the offline rule fired, or it never answered
    Removing, // asked to leave the bus
};

struct InverterCondition {
    ConditionKind kind = ConditionKind::Offline;
    std::time_t now = 0;
    std::time_t since = 0;     // start of the fault or of the outage; 0 when unknown
    std::time_t sampleAge = 0; // seconds since the last reading
    std::string faultText;
    int comPort = 0;
};

// With the inverter's group locked.
InverterCondition ConditionOf(const CInverter& inverter, std::time_t now, int intervalSeconds);

// "Normal", "Fault: Ground current is too high since 11:47", "Stale, 12 s ago",
// "COM5 lost, 12 s ago", "Offline since 12:03", "Removing".
std::string ConditionText(const InverterCondition& condition);

// "12 s ago", "3 min ago", "2 h ago".
std::string AgeText(std::time_t seconds);
