#include "StationWatch.h"

#include "FaultRowText.h"
#include "HeliowatchDoc.h"
#include "PlantTotals.h"
#include "comm/CommShared.h"
#include "comm/WindowMessages.h"
#include "model/InverterGroup.h"
#include "platform/PortDirectory.h"

#include <algorithm>

StationWatch::StationWatch(const CHeliowatchDoc& document)
    : StationWatch([&document] { return document.GetGroups(); },
                   [&document](std::time_t now) { return ReadPlantTotals(document, now); }) {}

StationWatch::StationWatch(Groups groups, Totals totals)
    : m_groups(std::move(groups)), m_totals(std::move(totals)) {}

void StationWatch::AddObserver(StationObserver* observer) {
    m_observers.push_back(observer);
}

void StationWatch::Handle(unsigned message, std::uintptr_t wParam) {
    switch (message) {
    case WM_INVERTER_REGISTERED: OnRegistered(wParam); break;
    case WM_INVERTER_UPDATED: OnUpdated(wParam); break;
    case WM_INVERTER_REMOVED: OnRemoved(wParam); break;
    case WM_PORT_STOPPED: ForgetPort(reinterpret_cast<const CInverterGroup*>(wParam)); break;
    default: break;
    }
}

void StationWatch::OnRegistered(std::uintptr_t inverter) {
    EventSubject subject;
    if (Observe(inverter, subject)) {
        subject.online = false;
        subject.inFault = false;
        m_inverters[inverter] = subject;
        Tell(StationEventKind::Registered, subject);
    }
}

void StationWatch::OnUpdated(std::uintptr_t inverter) {
    auto known = m_inverters.find(inverter);
    EventSubject now;
    if (known == m_inverters.end() || !Observe(inverter, now)) {
        return;
    }
    EventSubject& before = known->second;
    if (now.online != before.online) {
        Tell(now.online ? StationEventKind::Online : StationEventKind::Offline, now);
    }
    if (now.inFault != before.inFault) {
        // A closing fault is told with the bits it had while open.
        EventSubject fault = now;
        if (!now.inFault) {
            fault.errorBits = before.errorBits;
            fault.faultValue = before.faultValue;
        }
        Tell(now.inFault ? StationEventKind::FaultOpened : StationEventKind::FaultClosed, fault);
    }
    before = now;
}

// The record is destroyed right after this message: only the copy is used.
void StationWatch::OnRemoved(std::uintptr_t inverter) {
    if (auto known = m_inverters.find(inverter); known != m_inverters.end()) {
        Tell(StationEventKind::Removed, known->second);
        m_inverters.erase(known);
    }
}

// Records named in posted messages may be gone since: only one still in a
// group is read, under that group's lock.
bool StationWatch::Observe(std::uintptr_t inverter, EventSubject& subject) const {
    const auto* wanted = reinterpret_cast<const CInverter*>(inverter);
    for (CInverterGroup* group : m_groups()) {
        auto lock = group->Lock();
        const auto records = group->Inverters();
        if (std::find(records.begin(), records.end(), wanted) == records.end()) {
            continue;
        }
        subject.comPort = group->m_nComPort;
        subject.address = wanted->m_nAddress;
        subject.serialNo = wanted->m_strSerialNo;
        subject.model = wanted->m_strModel;
        subject.online = wanted->m_bOnline == 1;
        subject.inFault = wanted->m_nLastMode > 1;
        subject.errorBits = wanted->m_dwErrorCode;
        subject.faultValue = subject.inFault ? FaultValueText(wanted->m_faultRecord) : "";
        return true;
    }
    return false;
}

void StationWatch::CheckPorts() {
    for (const CInverterGroup* group : m_groups()) {
        CheckPortProblem(*group);
        const int open = group->m_bPortOpen.load();
        auto known = m_portOpen.try_emplace(group, 0).first;
        if (open != known->second) {
            known->second = open;
            EventSubject port;
            port.comPort = group->m_nComPort;
            Tell(open != 0 ? StationEventKind::PortOpened : StationEventKind::PortLost, port);
        }
    }
}

void StationWatch::ForgetPort(const CInverterGroup* group) {
    m_portOpen.erase(group);
    m_portProblem.erase(group);
}

// Told once when opening starts to fail and again only when the reason
// changes; the recovery is the port-opened event.
void StationWatch::CheckPortProblem(const CInverterGroup& group) {
    const std::string problem = group.PortProblem();
    std::string& known = m_portProblem[&group];
    if (problem == known) {
        return;
    }
    known = problem;
    if (!problem.empty()) {
        EventSubject port;
        port.comPort = group.m_nComPort;
        port.reason = PortTarget(group.m_nComPort) + ": " + problem;
        Tell(StationEventKind::PortFailed, port);
    }
}

void StationWatch::CheckPlant(std::time_t now) {
    if (now < m_nextPlant) {
        return;
    }
    m_nextPlant = now + std::max(1, g_nInterval.load());
    const PlantTotals totals = m_totals(now);
    for (StationObserver* observer : m_observers) {
        observer->OnPlantTotals(totals);
    }
}

void StationWatch::Tell(StationEventKind kind, const EventSubject& subject) {
    const StationEvent event{kind, std::time(nullptr), subject};
    for (StationObserver* observer : m_observers) {
        observer->OnStationEvent(event);
    }
}
