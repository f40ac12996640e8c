#include "PlantGate.h"

#include "comm/Scheduler.h"
#include "model/InverterGroup.h"
#include "store/PlantTotals.h"

const std::time_t PlantGate::LONGEST_ROUND =
    std::time_t{CInverterGroup::MAX_ADDRESS + 1} * REGISTER_PERIOD_SECONDS;

bool PlantGate::Open(const PlantTotals& totals) {
    if (m_openedAt) {
        return true;
    }
    if (!m_firstSeen) {
        m_firstSeen = totals.when;
    }
    const bool whole = totals.portsRegistering == 0 && totals.unheard == 0;
    if (whole || totals.when - *m_firstSeen >= LONGEST_ROUND) {
        m_openedAt = totals.when;
    }
    return m_openedAt.has_value();
}
