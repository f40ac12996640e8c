#include "Freshness.h"

#include "model/InverterGroup.h"

#include <algorithm>

namespace {
// A cycle not measured yet is estimated from a full read deadline per
// inverter, so the first cycle of a full bus does not look stale.
constexpr std::int64_t EXCHANGE_MS = 400;

std::int64_t CycleMs(const CInverterGroup& group) {
    const auto estimate = static_cast<std::int64_t>(group.m_inverters.size()) * EXCHANGE_MS;
    const std::int64_t measured = group.m_nLastCycleMs;
    return measured > 0 ? measured : estimate;
}

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

std::time_t StaleAfterSeconds(const CInverterGroup& group, int intervalSeconds) {
    return 2 * std::max(intervalSeconds, 1) + (CycleMs(group) + 999) / 1000;
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
