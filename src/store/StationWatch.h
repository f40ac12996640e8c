#pragma once

#include "StationEvent.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <vector>

class CHeliowatchDoc;
class CInverterGroup;

// Turns what the communication threads post to the inverter list, and the
// ports' open state, into station events, each transition once; hands the
// plant totals out once per sampling interval. Lives on the thread that owns
// the document, so the headless station and the window report alike.
class StationWatch {
public:
    using Groups = std::function<std::vector<CInverterGroup*>()>;
    using Totals = std::function<PlantTotals(std::time_t)>;

    explicit StationWatch(const CHeliowatchDoc& document);
    StationWatch(Groups groups, Totals totals);

    void AddObserver(StationObserver* observer);
    // One message posted to the inverter list.
    void Handle(unsigned message, std::uintptr_t wParam);
    void CheckPorts();
    void CheckPlant(std::time_t now);

private:
    void OnRegistered(std::uintptr_t inverter);
    void OnUpdated(std::uintptr_t inverter);
    void OnRemoved(std::uintptr_t inverter);
    // Reads the record if it is still in a group; false otherwise.
    bool Observe(std::uintptr_t inverter, EventSubject& subject) const;
    void Tell(StationEventKind kind, const EventSubject& subject);
    void CheckPortProblem(const CInverterGroup& group);
    void ForgetPort(const CInverterGroup* group);

    Groups m_groups;
    Totals m_totals;
    std::vector<StationObserver*> m_observers;
    std::map<std::uintptr_t, EventSubject> m_inverters;
    std::map<const CInverterGroup*, int> m_portOpen;
    std::map<const CInverterGroup*, std::string> m_portProblem;
    std::time_t m_nextPlant = 0;
};
