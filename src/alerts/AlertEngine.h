#pragma once

#include "AlertSettings.h"
#include "ConditionTracker.h"
#include "DayEndCheck.h"
#include "LastingConditions.h"
#include "PlantActivity.h"
#include "store/StationEvent.h"

#include <functional>
#include <map>
#include <optional>
#include <string>

class AlertSink;
class Clock;
class ConditionTable;

// The rules, in one place, fed the station's events and its plant totals on
// the thread that owns the document, as the window and the web pages are:
// faults, inverters offline while the plant produces, ports that do not
// open, history not written, the broker lost, and at the day's end weak
// inverters and the daily summary. What they raise goes to the sink, the
// time and the station's name on it.
class AlertEngine : public StationObserver {
public:
    // Why the broker is lost; empty while it is connected or publishing is
    // off; nothing while it is not known yet.
    using BrokerProbe = std::function<std::optional<std::string>()>;
    // Why the history cannot be written; empty while it can.
    using StorageProbe = std::function<std::string()>;

    AlertEngine(const AlertSettings& settings, Clock& clock, ConditionTable& conditions,
                AlertSink& sink, std::string station);

    void SetBrokerProbe(BrokerProbe probe) { m_brokerProbe = std::move(probe); }
    void SetStorageProbe(StorageProbe probe) { m_storageProbe = std::move(probe); }
    DayEndCheck& DayEnd() { return m_dayEnd; }

    void OnStationEvent(const StationEvent& event) override;
    void OnPlantTotals(const PlantTotals& totals) override;
    // What depends on time alone; runs with every plant totals.
    void Tick();

private:
    void OnFault(const StationEvent& event, std::time_t now);
    void OnInverterPresent(const EventSubject& inverter, std::time_t now);
    void OnInverterOffline(const EventSubject& inverter, std::time_t now);
    void OnInverterGone(const EventSubject& inverter, std::time_t now);
    void OnPortDown(const EventSubject& port, std::time_t now);
    void OnPortOpen(const EventSubject& port, std::time_t now);
    void CheckStorage(std::time_t now);
    void CheckBroker(std::time_t now);
    // How long a condition has held: since its announcement, plus the time
    // it had to hold before.
    std::time_t Lasted(const std::string& identity, std::time_t now, int minutesBefore) const;
    void Raise(std::optional<Alert> alert, std::time_t now);
    void Raise(std::vector<Alert> alerts, std::time_t now);

    const AlertSettings& m_settings;
    Clock& m_clock;
    ConditionTable& m_conditions;
    AlertSink& m_sink;
    std::string m_station;
    ConditionTracker m_tracker;
    LastingConditions m_offline;
    LastingConditions m_ports;
    LastingConditions m_broker;
    PlantActivity m_activity;
    DayEndCheck m_dayEnd;
    BrokerProbe m_brokerProbe;
    StorageProbe m_storageProbe;
    std::map<std::string, EventSubject> m_known; // by serial number
};
