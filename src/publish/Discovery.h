#pragma once

#include "MqttMessage.h"
#include "StateFields.h"

#include <string>
#include <vector>

struct StateSample;
class Topics;

// Home Assistant discovery for one inverter: a device named by its serial
// number and model, and a sensor for every useful value it sends plus its
// work mode and fault as words. Every sensor is available only while both
// the station and the inverter are. Retained, so Home Assistant finds them
// whenever it starts.
std::vector<MqttMessage> DiscoveryMessages(const Topics& topics, const StateSample& sample,
                                           const std::vector<FieldValue>& values);

// Empty retained messages on every sensor an inverter may have had: Home
// Assistant then forgets the device.
std::vector<MqttMessage> DiscoveryRemovals(const Topics& topics, const std::string& id);
