#include "PlantTotals.h"

#include "HeliowatchDoc.h"
#include "model/InverterGroup.h"

PlantTotals ReadPlantTotals(const CHeliowatchDoc& document, std::time_t when) {
    PlantTotals totals;
    totals.when = when;
    for (const CInverterGroup* group : document.GetGroups()) {
        auto lock = group->Lock();
        for (const auto& record : group->m_inverters) {
            ++totals.registered;
            totals.answering += record->m_bOnline == 1 ? 1 : 0;
        }
    }
    totals.powerW = document.GetTotalPower();
    totals.eTodayKWh = document.GetTotalEToday();
    totals.eTotalKWh = document.GetTotalETotal();
    return totals;
}
