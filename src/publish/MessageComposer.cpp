#include "MessageComposer.h"

#include "Discovery.h"
#include "Payloads.h"

#include <algorithm>

namespace {
bool SameSensors(const std::vector<FieldValue>& values,
                 const std::vector<const StateField*>& sensors) {
    auto known = sensors.begin();
    for (const FieldValue& value : values) {
        if (value.field->sensor && (known == sensors.end() || *known++ != value.field)) {
            return false;
        }
    }
    return known == sensors.end();
}

std::vector<const StateField*> SensorsOf(const std::vector<FieldValue>& values) {
    std::vector<const StateField*> sensors;
    for (const FieldValue& value : values) {
        if (value.field->sensor) {
            sensors.push_back(value.field);
        }
    }
    return sensors;
}
} // namespace

MessageComposer::MessageComposer(Topics topics, bool discovery)
    : m_topics(std::move(topics)), m_discovery(discovery) {}

std::vector<MqttMessage> MessageComposer::Compose(Outbound item, std::uint64_t dropped) {
    if (const auto* sample = std::get_if<StateSample>(&item)) {
        return ComposeState(*sample);
    }
    if (const auto* event = std::get_if<StationEvent>(&item)) {
        return ComposeEvent(*event);
    }
    if (auto* alert = std::get_if<AlertPayload>(&item)) {
        return {{m_topics.Alert(), std::move(alert->json), false}};
    }
    return {{m_topics.Plant(), PlantPayload(std::get<PlantTotals>(item), dropped), false}};
}

MessageComposer::Inverter& MessageComposer::Known(const std::string& serialNo) {
    auto known = m_inverters.find(serialNo);
    if (known == m_inverters.end()) {
        Inverter inverter;
        inverter.id = TopicId(serialNo);
        inverter.stateTopic = m_topics.State(inverter.id);
        known = m_inverters.emplace(serialNo, std::move(inverter)).first;
    }
    return known->second;
}

std::vector<MqttMessage> MessageComposer::ComposeState(const StateSample& sample) {
    if (!sample.data) {
        return {};
    }
    std::vector<MqttMessage> messages;
    // A serial number changed on the bus: the old device goes, the new one is
    // announced below as any newcomer.
    std::string& placed = m_serialAt[{sample.comPort, sample.address}];
    if (placed != sample.serialNo) {
        if (!placed.empty()) {
            Forget(placed, messages);
        }
        placed = sample.serialNo;
    }
    Inverter& inverter = Known(sample.serialNo);
    DecodedValues(*sample.data, sample.offered, m_values);
    if (m_discovery && (inverter.discovery.empty() || !SameSensors(m_values, inverter.sensors))) {
        inverter.sensors = SensorsOf(m_values);
        inverter.discovery = DiscoveryMessages(m_topics, sample, m_values);
        messages.insert(messages.end(), inverter.discovery.begin(), inverter.discovery.end());
    }
    // A decoded poll means the inverter answered.
    if (!inverter.online) {
        inverter.online = true;
        messages.push_back(Availability(inverter.id, true));
    }
    std::string payload = StatePayload(sample, m_values);
    inverter.state.assign(payload);
    messages.push_back({inverter.stateTopic, std::move(payload), false});
    return messages;
}

std::vector<MqttMessage> MessageComposer::ComposeEvent(const StationEvent& event) {
    std::vector<MqttMessage> messages{{m_topics.Events(), EventPayload(event), false}};
    if (event.subject.address == 0) {
        return messages;
    }
    switch (event.kind) {
    case StationEventKind::Online:
    case StationEventKind::Offline: {
        Inverter& inverter = Known(event.subject.serialNo);
        inverter.online = event.kind == StationEventKind::Online;
        messages.push_back(Availability(inverter.id, inverter.online));
        break;
    }
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

void MessageComposer::Forget(const std::string& serialNo, std::vector<MqttMessage>& messages) {
    m_inverters.erase(serialNo);
    const std::string id = TopicId(serialNo);
    if (m_discovery) {
        const std::vector<MqttMessage> removals = DiscoveryRemovals(m_topics, id);
        messages.insert(messages.end(), removals.begin(), removals.end());
    }
    messages.push_back({m_topics.Availability(id), "", true});
}

std::vector<MqttMessage> MessageComposer::Reconnected() const {
    std::vector<MqttMessage> messages{{m_topics.Status(), "online", true}};
    for (const auto& entry : m_inverters) {
        const Inverter& inverter = entry.second;
        if (m_discovery) {
            messages.insert(messages.end(), inverter.discovery.begin(), inverter.discovery.end());
        }
        messages.push_back(Availability(inverter.id, inverter.online));
        if (inverter.online && !inverter.state.empty()) {
            messages.push_back({inverter.stateTopic, inverter.state, false});
        }
    }
    return messages;
}

std::vector<MqttMessage> MessageComposer::Discovery() const {
    std::vector<MqttMessage> messages;
    if (m_discovery) {
        for (const auto& entry : m_inverters) {
            messages.insert(messages.end(), entry.second.discovery.begin(),
                            entry.second.discovery.end());
        }
    }
    return messages;
}

std::optional<MqttMessage> MessageComposer::LeftOnline(const std::string& availabilityTopic) const {
    const bool answered =
        std::any_of(m_inverters.begin(), m_inverters.end(), [&](const auto& entry) {
            return entry.second.online &&
                   m_topics.Availability(entry.second.id) == availabilityTopic;
        });
    if (answered) {
        return std::nullopt;
    }
    return MqttMessage{availabilityTopic, "offline", true};
}

MqttMessage MessageComposer::StationOffline() const {
    return {m_topics.Status(), "offline", true};
}

MqttMessage MessageComposer::Availability(const std::string& id, bool online) const {
    return {m_topics.Availability(id), online ? "online" : "offline", true};
}
