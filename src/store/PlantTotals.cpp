#include "PlantTotals.h"

#include "Freshness.h"
#include "HeliowatchDoc.h"
#include "model/ErrorState.h"
#include "model/InverterGroup.h"

namespace {
void Count(PlantTotals& totals, const CInverter& inverter, int interval) {
    ++totals.registered;
    totals.unheard +=
        !inverter.m_pRuntimeData || inverter.m_pRuntimeData->GetSampleTime() == 0 ? 1 : 0;
    totals.answering += inverter.m_bOnline == 1 ? 1 : 0;
    switch (FreshnessOf(inverter, totals.when, interval)) {
    case Freshness::Fresh: ++totals.reporting; break;
    case Freshness::Offline: ++totals.offline; return;
    case Freshness::Stale: break;
    }
    totals.faults += inverter.m_nErrorState == ERROR_STATE_FAULT ? 1 : 0;
}
} // namespace

PlantTotals ReadPlantTotals(const CHeliowatchDoc& document, std::time_t when) {
    PlantTotals totals;
    totals.when = when;
    const int interval = document.GetInterval();
    document.VisitGroups([&](const CInverterGroup& group) {
        auto lock = group.Lock();
        const bool failing = !group.PortProblem().empty();
        // A port not tried yet is not lost: only a failed open or a failure since counts.
        totals.portsLost += failing ? 1 : 0;
        // A port that cannot open finds nobody: its round is over too.
        totals.portsRegistering += group.m_bRegistrationRoundDone == 0 && !failing ? 1 : 0;
        for (const auto& record : group.m_inverters) {
            Count(totals, *record, interval);
        }
    });
    totals.powerW = document.GetTotalPower();
    totals.eTodayKWh = document.GetTotalEToday();
    totals.eTotalKWh = document.GetTotalETotal();
    return totals;
}
