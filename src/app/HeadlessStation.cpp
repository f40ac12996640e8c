#include "HeadlessStation.h"

#include "EventLine.h"
#include "comm/WindowMessages.h"
#include "model/InverterGroup.h"
#include "store/HeliowatchDoc.h"

namespace {
constexpr std::time_t SUMMARY_PERIOD = 60;

std::time_t NextMinute(std::time_t now) {
    return now - now % SUMMARY_PERIOD + SUMMARY_PERIOD;
}
} // namespace

HeadlessStation::HeadlessStation(CHeliowatchDoc& document, MessageQueue& queue, std::FILE* out)
    : m_document(document), m_queue(queue), m_out(out),
      m_nextSummary(NextMinute(std::time(nullptr))) {}

void HeadlessStation::Run(const std::atomic<bool>& stop, const std::function<void()>& eachRound) {
    while (!stop.load()) {
        Step(std::chrono::milliseconds(200));
        if (eachRound) {
            eachRound();
        }
        if (const std::time_t now = std::time(nullptr); now >= m_nextSummary) {
            m_nextSummary = NextMinute(now);
            PrintPlantSummary();
        }
    }
}

void HeadlessStation::Step(std::chrono::milliseconds timeout) {
    for (const QueuedMessage& message : m_queue.Take(timeout)) {
        Handle(message);
    }
    CheckPorts();
}

void HeadlessStation::Handle(const QueuedMessage& message) {
    switch (message.message) {
    case WM_INVERTER_REGISTERED: OnRegistered(message.wParam); break;
    case WM_INVERTER_UPDATED: OnUpdated(message.wParam); break;
    case WM_INVERTER_REMOVED: OnRemoved(message.wParam); break;
    case WM_PORT_STOPPED:
        m_portOpen.erase(reinterpret_cast<const CInverterGroup*>(message.wParam));
        m_document.RemovePortGroup(reinterpret_cast<CInverterGroup*>(message.wParam));
        break;
    default: break;
    }
}

void HeadlessStation::OnRegistered(std::uintptr_t inverter) {
    KnownInverter state;
    if (Observe(inverter, state)) {
        state.online = false;
        state.inFault = false;
        m_inverters[inverter] = state;
        Print(state, "registered");
    }
}

void HeadlessStation::OnUpdated(std::uintptr_t inverter) {
    auto known = m_inverters.find(inverter);
    KnownInverter now;
    if (known == m_inverters.end() || !Observe(inverter, now)) {
        return;
    }
    KnownInverter& before = known->second;
    if (now.online != before.online) {
        Print(now, now.online ? "online" : "offline");
    }
    if (now.inFault != before.inFault) {
        Print(now, now.inFault ? "fault-opened" : "fault-closed");
    }
    before = now;
}

// The record is destroyed right after this message: only the copy is used.
void HeadlessStation::OnRemoved(std::uintptr_t inverter) {
    if (auto known = m_inverters.find(inverter); known != m_inverters.end()) {
        Print(known->second, "removed");
        m_inverters.erase(known);
    }
}

bool HeadlessStation::Observe(std::uintptr_t inverter, KnownInverter& state) const {
    return m_document.WithInverter(reinterpret_cast<const CInverter*>(inverter),
                                   [&state](CInverter& record, CInverterGroup& group) {
                                       state.comPort = group.m_nComPort;
                                       state.address = record.m_nAddress;
                                       state.serialNo = record.m_strSerialNo;
                                       state.online = record.m_bOnline == 1;
                                       state.inFault = record.m_nLastMode > 1;
                                   });
}

void HeadlessStation::CheckPorts() {
    for (const CInverterGroup* group : m_document.GetGroups()) {
        const int open = group->m_bPortOpen.load();
        auto known = m_portOpen.try_emplace(group, 0).first;
        if (open != known->second) {
            known->second = open;
            KnownInverter port;
            port.comPort = group->m_nComPort;
            Print(port, open != 0 ? "port-opened" : "port-lost");
        }
    }
}

void HeadlessStation::PrintPlantSummary() {
    int answering = 0;
    int registered = 0;
    std::string rejects;
    for (const CInverterGroup* group : m_document.GetGroups()) {
        rejects += RejectsField(group->m_nComPort, group->m_rejects);
        auto lock = group->Lock();
        for (const auto& record : group->m_inverters) {
            ++registered;
            answering += record->m_bOnline == 1 ? 1 : 0;
        }
    }
    const std::string line =
        PlantLine(std::time(nullptr), m_document.GetTotalPower(), m_document.GetTotalEToday(),
                  m_document.GetTotalETotal(), answering, registered);
    std::fprintf(m_out, "%s%s\n", line.c_str(), rejects.c_str());
    std::fflush(m_out);
}

void HeadlessStation::Print(const KnownInverter& inverter, const char* event) {
    const std::string line =
        EventLine(std::time(nullptr), inverter.comPort, inverter.address, inverter.serialNo, event);
    std::fprintf(m_out, "%s\n", line.c_str());
    std::fflush(m_out);
}
