#include "Freshness.h"

#include "model/InverterGroup.h"
#include "model/StaleAfter.h"

namespace {
bool PortFailed(const CInverterGroup& group) {
    return group.m_bPortOpen == 0 || !group.PortProblem().empty();
}
} // namespace

const char* FreshnessName(Freshness freshness) {
    switch (freshness) {
    case Freshness::Fresh: return "fresh";
    case Freshness::Stale: return "stale";
    case Freshness::Offline: return "offline";
    }
    return "offline";
}

Freshness FreshnessOf(const CInverter& inverter, std::time_t now, int intervalSeconds) {
    if (inverter.m_bOnline != 1 || !inverter.m_pRuntimeData) {
        return Freshness::Offline;
    }
    const CInverterGroup* group = inverter.m_pGroup;
    if (group == nullptr) {
        return Freshness::Fresh;
    }
    if (PortFailed(*group)) {
        return Freshness::Stale;
    }
    const std::time_t age = now - inverter.m_pRuntimeData->GetSampleTime();
    return age > StaleAfterSeconds(*group, intervalSeconds) ? Freshness::Stale : Freshness::Fresh;
}
