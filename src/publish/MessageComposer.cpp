#include "MessageComposer.h"

#include "OldDiscovery.h"
#include "Payloads.h"
#include "PlantFields.h"
#include "comm/CommShared.h"
#include "comm/Polling.h"
#include "store/MqttSettings.h"

#include <algorithm>

namespace {
std::vector<const StateField*> SensorsOf(const std::vector<FieldValue>& values) {
    std::vector<const StateField*> sensors;
    for (const FieldValue& value : values) {
        if (value.field->IsSensor()) {
            sensors.push_back(value.field);
        }
    }
    return sensors;
}

// Sensors announced before that the new set lacks.
std::vector<std::string> Gone(const std::vector<const StateField*>& before,
                              const std::vector<const StateField*>& now) {
    std::vector<std::string> gone;
    for (const StateField* field : before) {
        if (std::find(now.begin(), now.end(), field) == now.end()) {
            gone.emplace_back(field->key);
        }
    }
    return gone;
}

// The offline rule: as many sampling intervals as failed polls make an
// inverter offline.
std::time_t OfflineRuleSeconds() {
    return std::time_t{MAX_FAILED_POLLS + 1} * std::max(1, g_nInterval.load());
}
} // namespace

MessageComposer::Inverter::Inverter(const std::string& serialNo)
    : id(TopicId(serialNo)), guard(serialNo) {}

MessageComposer::MessageComposer(const MqttSettings& settings)
    : m_context{Topics(settings.topicPrefix, settings.discoveryPrefix),
                DiscoveryNames(StationIdOf(settings)), settings.webUrl, settings.commands},
      m_discovery(settings.discovery), m_plantDiscovery(PlantDiscovery(m_context)) {}

std::vector<MqttMessage> MessageComposer::Compose(Outbound item, std::uint64_t dropped) {
    if (const auto* sample = std::get_if<StateSample>(&item)) {
        return ComposeState(*sample);
    }
    if (const auto* event = std::get_if<StationEvent>(&item)) {
        return ComposeEvent(*event);
    }
    if (auto* alert = std::get_if<AlertPayload>(&item)) {
        return {{m_context.topics.Alert(), std::move(alert->json), false}};
    }
    return ComposePlant(std::get<PlantTotals>(item), dropped);
}

MessageComposer::Inverter& MessageComposer::Known(const std::string& serialNo) {
    return m_inverters.try_emplace(serialNo, serialNo).first->second;
}

std::vector<MqttMessage> MessageComposer::ComposeState(const StateSample& sample) {
    if (!sample.data) {
        return {};
    }
    std::vector<MqttMessage> messages;
    Place(sample, messages);
    Inverter& inverter = Known(sample.serialNo);
    DecodedValues(*sample.data, sample.offered, m_values);
    Announce(inverter, sample, messages);
    // A decoded poll means the inverter answered.
    SetOnline(inverter, true, messages);
    if (inverter.guard.PassAll(m_values, LocalDay(sample.data->GetSampleTime()))) {
        inverter.state = StatePayload(sample, m_values);
        messages.push_back({m_context.topics.State(inverter.id), inverter.state, false});
    }
    return messages;
}

void MessageComposer::Place(const StateSample& sample, std::vector<MqttMessage>& messages) {
    std::string& placed = m_serialAt[{sample.comPort, sample.address}];
    if (placed != sample.serialNo) {
        if (!placed.empty()) {
            Forget(placed, messages);
        }
        placed = sample.serialNo;
    }
}

void MessageComposer::Announce(Inverter& inverter, const StateSample& sample,
                               std::vector<MqttMessage>& messages) {
    std::vector<const StateField*> sensors = SensorsOf(m_values);
    if (!m_discovery || (inverter.discovery && sensors == inverter.sensors)) {
        return;
    }
    inverter.discovery =
        InverterDiscovery(m_context, sample, m_values, Gone(inverter.sensors, sensors));
    inverter.sensors = std::move(sensors);
    messages.push_back(*inverter.discovery);
}

std::vector<MqttMessage> MessageComposer::ComposeEvent(const StationEvent& event) {
    std::vector<MqttMessage> messages{{m_context.topics.Events(), EventPayload(event), false}};
    if (event.subject.address == 0) {
        return messages;
    }
    switch (event.kind) {
    case StationEventKind::Online:
    case StationEventKind::Offline:
        SetOnline(Known(event.subject.serialNo), event.kind == StationEventKind::Online, messages);
        break;
    case StationEventKind::FaultOpened:
    case StationEventKind::FaultClosed: ComposeFault(event, messages); break;
    case StationEventKind::Removed: {
        const auto place = m_serialAt.find({event.subject.comPort, event.subject.address});
        if (place != m_serialAt.end() && place->second == event.subject.serialNo) {
            m_serialAt.erase(place);
        }
        Forget(event.subject.serialNo, messages);
        break;
    }
    default: break;
    }
    return messages;
}

void MessageComposer::ComposeFault(const StationEvent& event, std::vector<MqttMessage>& messages) {
    Inverter& inverter = Known(event.subject.serialNo);
    if (event.kind == StationEventKind::FaultOpened || inverter.faultOpened == 0) {
        inverter.faultOpened = event.when;
    }
    messages.push_back({m_context.topics.Fault(inverter.id), FaultEventPayload(event), false});
    messages.push_back({m_context.topics.LastFault(inverter.id),
                        LastFaultPayload(event, inverter.faultOpened), true});
}

std::vector<MqttMessage> MessageComposer::ComposePlant(const PlantTotals& totals,
                                                       std::uint64_t dropped) {
    std::vector<MqttMessage> messages;
    if (!m_plantGate.Open(totals)) {
        return messages;
    }
    ExpireLeftOnline(totals.when, messages);
    PlantValues(totals, dropped, m_values);
    if (m_plantGuard.PassAll(m_values, LocalDay(totals.when))) {
        messages.push_back({m_context.topics.Plant(), PlantPayload(totals.when, m_values), false});
    }
    return messages;
}

void MessageComposer::LeftOnline(const std::string& availabilityTopic) {
    m_leftOnline.insert(availabilityTopic);
}

void MessageComposer::ExpireLeftOnline(std::time_t now, std::vector<MqttMessage>& messages) {
    if (m_leftOnline.empty() || now < *m_plantGate.OpenedAt() + OfflineRuleSeconds()) {
        return;
    }
    for (const std::string& topic : m_leftOnline) {
        const bool answered =
            std::any_of(m_inverters.begin(), m_inverters.end(), [&](const auto& entry) {
                return entry.second.online &&
                       m_context.topics.Availability(entry.second.id) == topic;
            });
        if (!answered) {
            messages.push_back({topic, "offline", true});
        }
    }
    m_leftOnline.clear();
}

std::optional<MqttMessage> MessageComposer::OldSensorConfig(const std::string& topic,
                                                            const std::string& payload) const {
    if (!IsOwnOldSensorConfig(m_context.topics, topic, payload)) {
        return std::nullopt;
    }
    return MqttMessage{topic, "", true};
}

void MessageComposer::Forget(const std::string& serialNo, std::vector<MqttMessage>& messages) {
    m_inverters.erase(serialNo);
    const std::string id = TopicId(serialNo);
    if (m_discovery) {
        messages.push_back(DiscoveryRemoval(m_context, m_context.names.InverterDevice(id)));
    }
    messages.push_back({m_context.topics.Availability(id), "", true});
    messages.push_back({m_context.topics.LastFault(id), "", true});
}

void MessageComposer::SetOnline(Inverter& inverter, bool online,
                                std::vector<MqttMessage>& messages) {
    if (inverter.online != online) {
        inverter.online = online;
        messages.push_back(Availability(inverter.id, online));
    }
}

std::vector<MqttMessage> MessageComposer::Reconnected() const {
    std::vector<MqttMessage> messages{{m_context.topics.Status(), "online", true}};
    if (m_discovery) {
        messages.push_back(m_plantDiscovery);
    }
    for (const auto& entry : m_inverters) {
        const Inverter& inverter = entry.second;
        if (m_discovery && inverter.discovery) {
            messages.push_back(*inverter.discovery);
        }
        messages.push_back(Availability(inverter.id, inverter.online));
        if (inverter.online && !inverter.state.empty()) {
            messages.push_back({m_context.topics.State(inverter.id), inverter.state, false});
        }
    }
    return messages;
}

std::vector<MqttMessage> MessageComposer::Discovery() const {
    std::vector<MqttMessage> messages;
    if (!m_discovery) {
        return messages;
    }
    messages.push_back(m_plantDiscovery);
    for (const auto& entry : m_inverters) {
        if (entry.second.discovery) {
            messages.push_back(*entry.second.discovery);
        }
    }
    return messages;
}

MqttMessage MessageComposer::StationOffline() const {
    return {m_context.topics.Status(), "offline", true};
}

MqttMessage MessageComposer::Availability(const std::string& id, bool online) const {
    return {m_context.topics.Availability(id), online ? "online" : "offline", true};
}
