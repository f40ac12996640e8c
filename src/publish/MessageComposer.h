#pragma once

#include "MqttMessage.h"
#include "OutboundQueue.h"
#include "Topics.h"

#include <cstdint>
#include <map>
#include <string>
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
    MqttMessage StationOffline() const;
    const Topics& GetTopics() const { return m_topics; }

private:
    struct Inverter {
        std::vector<const StateField*> sensors;
        std::vector<MqttMessage> discovery;
        std::string state;
        bool online = false;
    };

    std::vector<MqttMessage> ComposeState(const StateSample& sample);
    std::vector<MqttMessage> ComposeEvent(const StationEvent& event);
    MqttMessage Availability(const std::string& id, bool online) const;

    Topics m_topics;
    bool m_discovery;
    std::map<std::string, Inverter> m_inverters; // by topic id
};
