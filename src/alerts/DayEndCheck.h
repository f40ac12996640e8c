#pragma once

#include "DayFacts.h"
#include "model/InvFaultRecord.h"
#include "store/StationEvent.h"

#include <ctime>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct AlertSettings;
class AlertSink;
class ConditionTable;
class PlantActivity;

// Once per local day, after the plant went to sleep or at 23:00: the weak
// day of each inverter and the daily summary. A day is checked once, also
// across restarts; a summary that cannot be read is tried again every ten
// minutes until the day is over, its reason told once.
class DayEndCheck {
public:
    using FaultRecords = std::function<std::vector<InvFaultRecord>()>;

    DayEndCheck(const AlertSettings& settings, ConditionTable& marks, AlertSink& sink);

    void SetDayFacts(DayFacts* facts) { m_facts = facts; }
    void SetFaultRecords(FaultRecords records) { m_faultRecords = std::move(records); }
    // known: the inverters the station has now, by serial number.
    void Run(std::time_t now, const PlantActivity& activity,
             const std::map<std::string, EventSubject>& known);

private:
    bool Check(int day, const std::map<std::string, EventSubject>& known);

    const AlertSettings& m_settings;
    ConditionTable& m_marks;
    AlertSink& m_sink;
    DayFacts* m_facts = nullptr;
    FaultRecords m_faultRecords;
    std::time_t m_nextTry = 0;
    int m_failedDay = 0;
};
