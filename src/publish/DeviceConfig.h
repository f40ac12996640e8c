#pragma once

#include "JsonWriter.h"

#include <string>
#include <vector>

struct StateField;

// The device a discovery message describes.
struct DiscoveredDevice {
    std::string id;   // also its discovery topic's object id
    std::string name; // what Home Assistant shows
    std::string manufacturer;
    std::string model;
    std::string serialNumber;
    std::string swVersion;
    std::string viaDevice;        // the device it is reached through, if any
    std::string configurationUrl; // its page on the station's web server, if any
};

// Writes one device's discovery message as it goes: the device, the origin
// and what its entities share, then one component per entity, each with its
// unique id and the entity id Home Assistant should give it.
class DeviceConfig {
public:
    // entitySubject: what its entity ids are named after ("plant", the
    // serial number).
    DeviceConfig(const DiscoveredDevice& device, std::string entitySubject,
                 const std::vector<std::string>& availabilityTopics, const std::string& stateTopic);

    // A sensor for a field of the state message.
    DeviceConfig& Sensor(const StateField& field);
    // Begins a component: its platform, ids and name; the caller adds its own
    // keys and ends it with End().
    JsonWriter& Begin(const char* platform, const char* component, const char* name);
    DeviceConfig& End();
    // A component announced before and gone now: Home Assistant removes its
    // entity.
    DeviceConfig& Removed(const std::string& component, const std::string& platform);
    std::string Finish();

private:
    JsonWriter m_json;
    std::string m_deviceId;
    std::string m_entitySubject;
};
