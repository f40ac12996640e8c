#include "InverterCondition.h"

#include "FaultText.h"
#include "Freshness.h"
#include "model/ErrorState.h"
#include "model/InverterGroup.h"
#include "model/NoTime.h"
#include "platform/PortDirectory.h"
#include "platform/TimeText.h"

#include <algorithm>

namespace {
constexpr std::time_t SECONDS_SHOWN = 120;
constexpr std::time_t MINUTES_SHOWN = 120 * 60;

std::time_t OpenFaultStart(const CInverter& inverter) {
    const InvFaultRecord& record = inverter.m_faultRecord;
    return record.startTime != 0 && record.endTime == static_cast<std::int32_t>(g_tNoTime)
               ? record.startTime
               : 0;
}

ConditionKind StaleKind(const CInverter& inverter) {
    const CInverterGroup* group = inverter.m_pGroup;
    const bool portLost =
        group != nullptr && (group->m_bPortOpen == 0 || !group->PortProblem().empty());
    return portLost ? ConditionKind::PortLost : ConditionKind::Stale;
}

ConditionKind KindOf(const CInverter& inverter, Freshness freshness) {
    if (inverter.m_bRemoveRequest == 1) {
        return ConditionKind::Removing;
    }
    switch (freshness) {
    case Freshness::Offline: return ConditionKind::Offline;
    case Freshness::Stale: return StaleKind(inverter);
    case Freshness::Fresh: break;
    }
    return inverter.m_nErrorState == ERROR_STATE_FAULT ? ConditionKind::Fault
                                                       : ConditionKind::Normal;
}

// The time of day, with the date when it is not today's.
std::string MomentText(std::time_t moment, std::time_t now) {
    const bool today = LocalTimeText(moment, "%Y%m%d") == LocalTimeText(now, "%Y%m%d");
    return LocalTimeText(moment, today ? "%H:%M" : "%Y/%m/%d %H:%M");
}

std::string SinceText(const InverterCondition& condition) {
    return condition.since != 0 ? " since " + MomentText(condition.since, condition.now)
                                : std::string();
}
} // namespace

InverterCondition ConditionOf(const CInverter& inverter, std::time_t now, int intervalSeconds) {
    InverterCondition condition;
    condition.now = now;
    condition.kind = KindOf(inverter, FreshnessOf(inverter, now, intervalSeconds));
    condition.comPort = inverter.m_pGroup != nullptr ? inverter.m_pGroup->m_nComPort : 0;
    if (inverter.m_pRuntimeData) {
        condition.sampleAge = now - inverter.m_pRuntimeData->GetSampleTime();
    }
    if (condition.kind == ConditionKind::Fault) {
        condition.faultText = FaultText(inverter.m_dwErrorCode);
        condition.since = OpenFaultStart(inverter);
    } else if (condition.kind == ConditionKind::Offline) {
        condition.since = inverter.m_tOffline;
    }
    return condition;
}

std::string ConditionText(const InverterCondition& condition) {
    switch (condition.kind) {
    case ConditionKind::Normal: return "Normal";
    case ConditionKind::Fault: return "Fault: " + condition.faultText + SinceText(condition);
    case ConditionKind::Stale: return "Stale, " + AgeText(condition.sampleAge);
    case ConditionKind::PortLost:
        return PortEntryName(condition.comPort) + " lost, " + AgeText(condition.sampleAge);
    case ConditionKind::Offline: return "Offline" + SinceText(condition);
    case ConditionKind::Removing: return "Removing";
    }
    return {};
}

std::string AgeText(std::time_t seconds) {
    if (seconds < SECONDS_SHOWN) {
        return std::to_string(std::max<std::time_t>(seconds, 0)) + " s ago";
    }
    if (seconds < MINUTES_SHOWN) {
        return std::to_string(seconds / 60) + " min ago";
    }
    return std::to_string(seconds / 3600) + " h ago";
}
