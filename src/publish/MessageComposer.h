#pragma once

#include "CounterGuard.h"
#include "Discovery.h"
#include "MqttMessage.h"
#include "OutboundQueue.h"
#include "PlantGate.h"
#include "Topics.h"

#include <cstdint>
#include <ctime>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

struct MqttSettings;

// Turns what the station hands over into MQTT messages, and remembers per
// inverter what a new connection must say again.
class MessageComposer {
public:
    explicit MessageComposer(const MqttSettings& settings);

    // dropped: state messages let go so far, told with the plant totals.
    std::vector<MqttMessage> Compose(Outbound item, std::uint64_t dropped);
    // For a fresh connection: the station online, then the discovery of the
    // plant and of every inverter, their availability and latest state.
    std::vector<MqttMessage> Reconnected() const;
    // Discovery of the plant and every inverter, for a Home Assistant that
    // just started.
    std::vector<MqttMessage> Discovery() const;
    // An inverter the broker still shows online, as an earlier run left it:
    // it stays so until its offline rule would have fired, counted from when
    // the plant's figures became whole, and is then told offline unless it
    // has answered since.
    void LeftOnline(const std::string& availabilityTopic);
    // The removal of a retained single-sensor configuration that an earlier
    // version of this station announced; none for anything else.
    std::optional<MqttMessage> OldSensorConfig(const std::string& topic,
                                               const std::string& payload) const;
    MqttMessage StationOffline() const;
    const Topics& GetTopics() const { return m_context.topics; }

private:
    struct Inverter {
        explicit Inverter(const std::string& serialNo);

        std::string id;
        std::vector<const StateField*> sensors;
        std::optional<MqttMessage> discovery;
        std::string state;
        bool online = false;
        CounterGuard guard;
        std::time_t faultOpened = 0;
    };

    Inverter& Known(const std::string& serialNo);
    std::vector<MqttMessage> ComposeState(const StateSample& sample);
    void Announce(Inverter& inverter, const StateSample& sample,
                  std::vector<MqttMessage>& messages);
    std::vector<MqttMessage> ComposeEvent(const StationEvent& event);
    void ComposeFault(const StationEvent& event, std::vector<MqttMessage>& messages);
    std::vector<MqttMessage> ComposePlant(const PlantTotals& totals, std::uint64_t dropped);
    void ExpireLeftOnline(std::time_t now, std::vector<MqttMessage>& messages);
    // The serial number at a bus place changed: the old device goes.
    void Place(const StateSample& sample, std::vector<MqttMessage>& messages);
    // Takes an inverter off the broker: Home Assistant forgets its device.
    void Forget(const std::string& serialNo, std::vector<MqttMessage>& messages);
    void SetOnline(Inverter& inverter, bool online, std::vector<MqttMessage>& messages);
    MqttMessage Availability(const std::string& id, bool online) const;

    DiscoveryContext m_context;
    bool m_discovery;
    MqttMessage m_plantDiscovery;
    std::map<std::string, Inverter> m_inverters;           // by serial number
    std::map<std::pair<int, int>, std::string> m_serialAt; // by port and address
    std::vector<FieldValue> m_values;                      // of the sample at hand
    PlantGate m_plantGate;
    CounterGuard m_plantGuard{"plant"};
    std::set<std::string> m_leftOnline; // availability topics
};
