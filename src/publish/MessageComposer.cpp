#include "MessageComposer.h"

#include "Discovery.h"
#include "Payloads.h"

namespace {
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
    return {{m_topics.Plant(), PlantPayload(std::get<PlantTotals>(item), dropped), false}};
}

std::vector<MqttMessage> MessageComposer::ComposeState(const StateSample& sample) {
    if (!sample.data) {
        return {};
    }
    const std::string id = TopicId(sample.serialNo);
    Inverter& inverter = m_inverters[id];
    const std::vector<FieldValue> values = DecodedValues(*sample.data, sample.offered);
    std::vector<MqttMessage> messages;
    if (m_discovery) {
        std::vector<const StateField*> sensors = SensorsOf(values);
        if (inverter.discovery.empty() || sensors != inverter.sensors) {
            inverter.sensors = std::move(sensors);
            inverter.discovery = DiscoveryMessages(m_topics, sample, values);
            messages = inverter.discovery;
        }
    }
    // A decoded poll means the inverter answered.
    if (!inverter.online) {
        inverter.online = true;
        messages.push_back(Availability(id, true));
    }
    inverter.state = StatePayload(sample, values);
    messages.push_back({m_topics.State(id), inverter.state, false});
    return messages;
}

std::vector<MqttMessage> MessageComposer::ComposeEvent(const StationEvent& event) {
    std::vector<MqttMessage> messages{{m_topics.Events(), EventPayload(event), false}};
    if (event.subject.address == 0) {
        return messages;
    }
    const std::string id = TopicId(event.subject.serialNo);
    switch (event.kind) {
    case StationEventKind::Online:
    case StationEventKind::Offline: {
        const bool online = event.kind == StationEventKind::Online;
        m_inverters[id].online = online;
        messages.push_back(Availability(id, online));
        break;
    }
    case StationEventKind::Removed: {
        m_inverters.erase(id);
        if (m_discovery) {
            const std::vector<MqttMessage> removals = DiscoveryRemovals(m_topics, id);
            messages.insert(messages.end(), removals.begin(), removals.end());
        }
        messages.push_back({m_topics.Availability(id), "", true});
        break;
    }
    default: break;
    }
    return messages;
}

std::vector<MqttMessage> MessageComposer::Reconnected() const {
    std::vector<MqttMessage> messages{{m_topics.Status(), "online", true}};
    for (const auto& [id, inverter] : m_inverters) {
        if (m_discovery) {
            messages.insert(messages.end(), inverter.discovery.begin(), inverter.discovery.end());
        }
        messages.push_back(Availability(id, inverter.online));
        if (inverter.online && !inverter.state.empty()) {
            messages.push_back({m_topics.State(id), inverter.state, false});
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

MqttMessage MessageComposer::StationOffline() const {
    return {m_topics.Status(), "offline", true};
}

MqttMessage MessageComposer::Availability(const std::string& id, bool online) const {
    return {m_topics.Availability(id), online ? "online" : "offline", true};
}
