#include "ServiceUpkeep.h"

#include "ServiceStatusLine.h"
#include "ServiceWatchdog.h"
#include "platform/Clock.h"
#include "store/HeliowatchDoc.h"
#include "store/PlantTotals.h"

namespace {
// The plant changes with every poll; systemctl status needs no more.
constexpr std::chrono::milliseconds STATUS_PERIOD{2000};
} // namespace

ServiceUpkeep::ServiceUpkeep(const CHeliowatchDoc& document, ServiceWatchdog& watchdog,
                             Clock& clock, std::string settingsFile)
    : m_document(document), m_watchdog(watchdog), m_clock(clock),
      m_settingsFile(std::move(settingsFile)),
      m_heartbeats(std::chrono::duration_cast<std::chrono::milliseconds>(watchdog.Period())) {}

void ServiceUpkeep::Round() {
    if (m_watchdog.Period().count() > 0) {
        m_watchdog.Alive(m_heartbeats.AllStepping(m_document, m_clock.Monotonic()));
    }
    UpdateStatus();
}

void ServiceUpkeep::UpdateStatus() {
    const std::chrono::milliseconds now = m_clock.Monotonic();
    if (now < m_nextStatus) {
        return;
    }
    m_nextStatus = now + STATUS_PERIOD;
    if (m_document.GetGroups().empty()) {
        m_watchdog.Status(NoPortAdvice(m_settingsFile));
    } else {
        m_watchdog.Status(ServiceStatusLine(ReadPlantTotals(m_document, m_clock.Now())));
    }
}
