#pragma once

#include "DiscoveryNames.h"
#include "MqttMessage.h"
#include "StateFields.h"
#include "Topics.h"

#include <string>
#include <vector>

struct StateSample;

// What every discovery message of one station shares.
struct DiscoveryContext {
    Topics topics;
    DiscoveryNames names;
    std::string webUrl; // the station's web pages, empty while they are off
    bool commands = false;
};

// Home Assistant discovery of one inverter: a device named by its model and
// serial number, reached through the plant, with a sensor for every useful
// value it sends, its work mode, whether a fault is open, an event per fault
// and the last fault. Every entity is available only while both the station
// and the inverter are. Retained, so Home Assistant finds it whenever it
// starts. removed: sensors announced before that the inverter no longer sends.
MqttMessage InverterDiscovery(const DiscoveryContext& context, const StateSample& sample,
                              const std::vector<FieldValue>& values,
                              const std::vector<std::string>& removed);

// The plant as a device: power, energies, counts, and with commands allowed
// the "Reconnect all" button.
MqttMessage PlantDiscovery(const DiscoveryContext& context);

// An empty retained message: Home Assistant forgets the device.
MqttMessage DiscoveryRemoval(const DiscoveryContext& context, const std::string& deviceId);
