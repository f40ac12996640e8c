#pragma once

#include <cstdint>
#include <ctime>
#include <string>

struct PlantTotals;

enum class StationEventKind {
    Registered,
    Online,
    Offline,
    FaultOpened,
    FaultClosed,
    Removed,
    PortOpened,
    PortLost,
    PortFailed,
};

// The event as one lowercase word: "registered", "fault-opened", ...
const char* StationEventName(StationEventKind kind);

// What an event is about: an inverter, or for port events only its port.
struct EventSubject {
    int comPort = 0;
    int address = 0; // 0 for port events
    std::string serialNo;
    std::string model;
    bool online = false;
    bool inFault = false;
    std::uint32_t errorBits = 0; // of the fault, for fault events
    std::string reason;          // the device and why it failed, for port-failed
    std::string faultValue = {}; // the value that explains it, for fault events
};

struct StationEvent {
    StationEventKind kind = StationEventKind::Registered;
    std::time_t when = 0;
    EventSubject subject;
};

// Told, on the thread that owns the document, of every event and of the
// plant totals once per sampling interval.
class StationObserver {
public:
    virtual ~StationObserver() = default;
    virtual void OnStationEvent(const StationEvent& event) = 0;
    virtual void OnPlantTotals(const PlantTotals& totals) = 0;
};
