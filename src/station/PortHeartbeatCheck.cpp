#include "PortHeartbeatCheck.h"

#include "model/InverterGroup.h"
#include "platform/Log.h"
#include "platform/PortDirectory.h"
#include "store/HeliowatchDoc.h"

#include <vector>

namespace {
struct Silence {
    int port;
    std::chrono::milliseconds since;
};

// Ports being stopped on request are leaving, not stuck.
std::vector<Silence> SilentPorts(const CHeliowatchDoc& document, std::chrono::milliseconds now,
                                 std::chrono::milliseconds period) {
    std::vector<Silence> silent;
    document.VisitGroups([&](const CInverterGroup& group) {
        const std::chrono::milliseconds since =
            now - std::chrono::milliseconds(group.m_nHeartbeatMs);
        if (group.m_bStopRequest == 0 && since > period) {
            silent.push_back({group.m_nComPort, since});
        }
    });
    return silent;
}
} // namespace

bool PortHeartbeatCheck::AllStepping(const CHeliowatchDoc& document,
                                     std::chrono::milliseconds now) {
    std::set<int> stuck;
    for (const Silence& silence : SilentPorts(document, now, m_period)) {
        stuck.insert(silence.port);
        if (m_stuckPorts.count(silence.port) == 0) {
            Log(LogLevel::Error, "the thread of port " + PortEntryName(silence.port) +
                                     " has finished no step for " +
                                     std::to_string(silence.since.count()) +
                                     " ms; the service watchdog is no longer fed");
        }
    }
    for (const int port : m_stuckPorts) {
        if (stuck.count(port) == 0) {
            Log(LogLevel::Info, "the thread of port " + PortEntryName(port) + " steps again");
        }
    }
    m_stuckPorts = std::move(stuck);
    return m_stuckPorts.empty();
}
