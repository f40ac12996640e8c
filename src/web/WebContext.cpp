#include "WebContext.h"

#include "AlertMetrics.h"
#include "DayCurves.h"
#include "PlantJson.h"

WebContext::WebContext(GroupVisitor groups, WebServerConfig config)
    : m_groups(std::move(groups)), m_config(std::move(config)) {
    if (m_config.alerts) {
        m_config.metricsSections.push_back(AlertMetrics(m_config.alerts));
    }
}

PlantSnapshot WebContext::Snapshot(const SnapshotScope& scope) const {
    PlantSnapshot snapshot = TakeSnapshot(m_groups, scope);
    if (m_config.plantTotals) {
        snapshot.totals = m_config.plantTotals(snapshot.taken);
    }
    if (m_config.brokerStatus) {
        snapshot.broker = m_config.brokerStatus();
    }
    return snapshot;
}

// From the minute of the last update on, so that the minute it was in is
// sent whole once more with the samples that came since. After a pause
// without listeners only the current minute goes: pages fetch the rest.
std::string WebContext::NextLiveEvent() {
    const std::time_t now = std::time(nullptr);
    const bool recent = m_lastLiveEvent != 0 && now - m_lastLiveEvent <= 2 * MINUTE_SECONDS;
    const std::time_t since = recent ? m_lastLiveEvent : now;
    SnapshotScope scope;
    scope.withMinutes = true;
    scope.minutesSince = since;
    m_lastLiveEvent = now;
    PlantSnapshot snapshot = Snapshot(scope);
    if (m_config.plantCurves != nullptr) {
        snapshot.plantMinutes = PlantPowerToday(*m_config.plantCurves, since);
    }
    return JsonText(LiveJson(snapshot));
}
