#include "AlertEngine.h"

#include "AlertSink.h"
#include "ConditionTable.h"
#include "RuleAlerts.h"
#include "platform/Clock.h"
#include "store/StorageHealth.h"

namespace {
const char* const EARLIER_PEAK_MARK = "earlier-peak";

std::time_t Seconds(int minutes) {
    return std::time_t{minutes} * 60;
}
} // namespace

AlertEngine::AlertEngine(const AlertSettings& settings, Clock& clock, ConditionTable& conditions,
                         AlertSink& sink, std::string station)
    : m_settings(settings), m_clock(clock), m_conditions(conditions), m_sink(sink),
      m_station(std::move(station)), m_tracker(conditions, settings.repeatMinutes),
      m_offline(m_tracker, Seconds(settings.offlineMinutes)),
      m_ports(m_tracker, Seconds(settings.portMinutes)),
      m_broker(m_tracker, Seconds(settings.brokerMinutes)),
      m_activity(settings.latitude, settings.longitude), m_dayEnd(settings, conditions, sink),
      m_storageProbe(StorageProblem) {
    m_tracker.Restore(conditions.Conditions());
    m_activity.SetEarlierPeak(conditions.Mark(EARLIER_PEAK_MARK).value_or(0));
}

void AlertEngine::OnStationEvent(const StationEvent& event) {
    const std::time_t now = m_clock.Now();
    const EventSubject& subject = event.subject;
    switch (event.kind) {
    case StationEventKind::FaultOpened:
    case StationEventKind::FaultClosed: OnFault(event, now); break;
    case StationEventKind::Registered:
    case StationEventKind::Online: OnInverterPresent(subject, now); break;
    case StationEventKind::Offline: OnInverterOffline(subject, now); break;
    case StationEventKind::Removed: OnInverterGone(subject, now); break;
    case StationEventKind::PortFailed:
    case StationEventKind::PortLost: OnPortDown(subject, now); break;
    case StationEventKind::PortOpened: OnPortOpen(subject, now); break;
    }
}

void AlertEngine::OnInverterOffline(const EventSubject& inverter, std::time_t now) {
    if (RuleEnabled(m_settings, AlertRule::Offline)) {
        m_offline.Begin(
            RuleAlerts::InverterIdentity(AlertRule::Offline, inverter),
            [inverter, this] { return RuleAlerts::Offline(inverter, m_settings.offlineMinutes); },
            now);
    }
}

void AlertEngine::OnFault(const StationEvent& event, std::time_t now) {
    const EventSubject& inverter = event.subject;
    if (event.kind == StationEventKind::FaultOpened) {
        if (RuleEnabled(m_settings, AlertRule::Fault)) {
            Raise(m_tracker.Open(RuleAlerts::FaultOpened(inverter), now), now);
        }
        return;
    }
    const std::string identity = RuleAlerts::InverterIdentity(AlertRule::Fault, inverter);
    Raise(m_tracker.Close(RuleAlerts::FaultClosed(inverter, Lasted(identity, now, 0)), now), now);
}

// An inverter that answers is not offline, and one that answers free of
// fault is out of any fault told before a restart.
void AlertEngine::OnInverterPresent(const EventSubject& inverter, std::time_t now) {
    m_known[inverter.serialNo] = inverter;
    if (!inverter.online) {
        return;
    }
    const std::string offline = RuleAlerts::InverterIdentity(AlertRule::Offline, inverter);
    const std::time_t away = Lasted(offline, now, m_settings.offlineMinutes);
    Raise(m_offline.End(RuleAlerts::BackOnline(inverter, away), now), now);
    const std::string fault = RuleAlerts::InverterIdentity(AlertRule::Fault, inverter);
    if (!inverter.inFault && m_tracker.IsOpen(fault)) {
        Raise(m_tracker.Close(RuleAlerts::FaultClosed(inverter, Lasted(fault, now, 0)), now), now);
    }
}

// A removed inverter's conditions end with it.
void AlertEngine::OnInverterGone(const EventSubject& inverter, std::time_t now) {
    m_known.erase(inverter.serialNo);
    Raise(m_offline.End(RuleAlerts::Removed(AlertRule::Offline, inverter), now), now);
    Raise(m_tracker.Close(RuleAlerts::Removed(AlertRule::Fault, inverter), now), now);
}

void AlertEngine::OnPortDown(const EventSubject& port, std::time_t now) {
    if (!RuleEnabled(m_settings, AlertRule::Port)) {
        return;
    }
    const std::string reason = port.reason.empty() ? std::string("the port was lost") : port.reason;
    m_ports.Begin(
        RuleAlerts::PortIdentity(port.comPort),
        [number = port.comPort, reason, this] {
            return RuleAlerts::PortFailed(number, reason, m_settings.portMinutes);
        },
        now);
}

void AlertEngine::OnPortOpen(const EventSubject& port, std::time_t now) {
    const std::time_t lasted =
        Lasted(RuleAlerts::PortIdentity(port.comPort), now, m_settings.portMinutes);
    Raise(m_ports.End(RuleAlerts::PortOpen(port.comPort, lasted), now), now);
}

void AlertEngine::OnPlantTotals(const PlantTotals& totals) {
    const std::time_t now = m_clock.Now();
    const std::int64_t earlierPeak = m_activity.EarlierPeak();
    m_activity.Observe(totals, now);
    if (m_activity.EarlierPeak() != earlierPeak) {
        m_conditions.SetMark(EARLIER_PEAK_MARK, m_activity.EarlierPeak());
    }
    Tick();
}

void AlertEngine::Tick() {
    const std::time_t now = m_clock.Now();
    Raise(m_offline.Tick(now, m_activity.Producing(now)), now);
    Raise(m_ports.Tick(now, true), now);
    CheckStorage(now);
    CheckBroker(now);
    Raise(m_tracker.Tick(now), now);
    m_dayEnd.Run(now, m_activity, m_known);
}

void AlertEngine::CheckStorage(std::time_t now) {
    const std::string problem = m_storageProbe ? m_storageProbe() : std::string();
    const std::string identity = RuleAlerts::HistoryFailed("").identity;
    if (!problem.empty() && RuleEnabled(m_settings, AlertRule::History)) {
        Raise(m_tracker.Open(RuleAlerts::HistoryFailed(problem), now), now);
    } else if (problem.empty() && m_tracker.IsOpen(identity)) {
        Raise(m_tracker.Close(RuleAlerts::HistoryWritten(Lasted(identity, now, 0)), now), now);
    }
}

void AlertEngine::CheckBroker(std::time_t now) {
    const std::optional<std::string> lost =
        m_brokerProbe ? m_brokerProbe() : std::optional<std::string>("");
    if (!lost) {
        return;
    }
    const std::string identity = RuleAlerts::BrokerBack(0).identity;
    if (lost->empty()) {
        const std::time_t lasted = Lasted(identity, now, m_settings.brokerMinutes);
        Raise(m_broker.End(RuleAlerts::BrokerBack(lasted), now), now);
    } else if (RuleEnabled(m_settings, AlertRule::Broker)) {
        m_broker.Begin(
            identity,
            [reason = *lost, this] {
                return RuleAlerts::BrokerLost(reason, m_settings.brokerMinutes);
            },
            now);
    }
    Raise(m_broker.Tick(now, true), now);
}

std::time_t AlertEngine::Lasted(const std::string& identity, std::time_t now,
                                int minutesBefore) const {
    const std::optional<std::time_t> since = m_tracker.OpenSince(identity);
    return since ? now - *since + Seconds(minutesBefore) : 0;
}

void AlertEngine::Raise(std::optional<Alert> alert, std::time_t now) {
    if (alert) {
        alert->time = now;
        alert->station = m_station;
        m_sink.Raise(*alert);
    }
}

void AlertEngine::Raise(std::vector<Alert> alerts, std::time_t now) {
    for (Alert& alert : alerts) {
        Raise(std::move(alert), now);
    }
}
