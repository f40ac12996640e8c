#pragma once

#include "MqttMessage.h"
#include "OutboundQueue.h"
#include "Topics.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Turns what the station hands over into MQTT messages, and remembers per
// inverter what a new connection must say again.
class MessageComposer {
public:
    MessageComposer(Topics topics, bool discovery);

    // dropped: state messages let go so far, told with the plant totals.
    std::vector<MqttMessage> Compose(Outbound item, std::uint64_t dropped);
    // For a fresh connection: the station online, then every inverter's
    // discovery, availability and latest state.
    std::vector<MqttMessage> Reconnected() const;
    // Discovery of every inverter, for a Home Assistant that just started.
    std::vector<MqttMessage> Discovery() const;
    // An inverter the broker still shows online, as an earlier run left it:
    // offline unless it has answered since.
    std::optional<MqttMessage> LeftOnline(const std::string& availabilityTopic) const;
    MqttMessage StationOffline() const;
    const Topics& GetTopics() const { return m_topics; }

private:
    struct Inverter {
        std::string id;
        std::string stateTopic;
        std::vector<const StateField*> sensors;
        std::vector<MqttMessage> discovery;
        std::string state;
        bool online = false;
    };

    Inverter& Known(const std::string& serialNo);
    std::vector<MqttMessage> ComposeState(const StateSample& sample);
    std::vector<MqttMessage> ComposeEvent(const StationEvent& event);
    // Takes an inverter off the broker: Home Assistant forgets its device.
    void Forget(const std::string& serialNo, std::vector<MqttMessage>& messages);
    MqttMessage Availability(const std::string& id, bool online) const;

    Topics m_topics;
    bool m_discovery;
    std::map<std::string, Inverter> m_inverters;           // by serial number
    std::map<std::pair<int, int>, std::string> m_serialAt; // by port and address
    std::vector<FieldValue> m_values;                      // of the sample at hand
};
