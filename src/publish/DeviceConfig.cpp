#include "DeviceConfig.h"

#include "DiscoveryNames.h"
#include "HeliowatchVersion.h"
#include "StateFields.h"

namespace {
void AddUnlessEmpty(JsonWriter& json, const char* key, const std::string& text) {
    if (!text.empty()) {
        json.Text(key, text);
    }
}

void AddDevice(JsonWriter& json, const DiscoveredDevice& device) {
    json.BeginObject("device")
        .BeginArray("identifiers")
        .Text(nullptr, device.id)
        .EndArray()
        .Text("name", device.name);
    AddUnlessEmpty(json, "manufacturer", device.manufacturer);
    AddUnlessEmpty(json, "model", device.model);
    AddUnlessEmpty(json, "serial_number", device.serialNumber);
    AddUnlessEmpty(json, "sw_version", device.swVersion);
    AddUnlessEmpty(json, "via_device", device.viaDevice);
    AddUnlessEmpty(json, "configuration_url", device.configurationUrl);
    json.EndObject();
}

void AddOrigin(JsonWriter& json) {
    json.BeginObject("origin")
        .Text("name", "Heliowatch")
        .Text("sw_version", HELIOWATCH_VERSION)
        .Text("support_url", HELIOWATCH_SUPPORT_URL)
        .EndObject();
}

// Every entity is available only while each of these topics says "online".
void AddAvailability(JsonWriter& json, const std::vector<std::string>& topics) {
    json.BeginArray("availability");
    for (const std::string& topic : topics) {
        json.BeginObject().Text("topic", topic).EndObject();
    }
    json.EndArray().Text("availability_mode", "all");
}
} // namespace

DeviceConfig::DeviceConfig(const DiscoveredDevice& device, std::string entitySubject,
                           const std::vector<std::string>& availabilityTopics,
                           const std::string& stateTopic)
    : m_deviceId(device.id), m_entitySubject(std::move(entitySubject)) {
    AddDevice(m_json, device);
    AddOrigin(m_json);
    AddAvailability(m_json, availabilityTopics);
    m_json.Text("state_topic", stateTopic).BeginObject("cmps");
}

JsonWriter& DeviceConfig::Begin(const char* platform, const char* component, const char* name) {
    return m_json.BeginObject(component)
        .Text("p", platform)
        .Text("name", name)
        .Text("unique_id", DiscoveryNames::UniqueId(m_deviceId, component))
        .Text("default_entity_id", DiscoveryNames::EntityId(platform, m_entitySubject, component));
}

DeviceConfig& DeviceConfig::End() {
    m_json.EndObject();
    return *this;
}

DeviceConfig& DeviceConfig::Sensor(const StateField& field) {
    JsonWriter& json = Begin("sensor", field.key, field.name);
    if (field.deviceClass != nullptr) {
        json.Text("device_class", field.deviceClass);
    }
    if (field.unit != nullptr) {
        json.Text("unit_of_measurement", field.unit);
    }
    json.Text("state_class", field.stateClass)
        .Integer("suggested_display_precision", field.precision)
        .Text("value_template", std::string("{{ value_json.") + field.key + " }}");
    if (field.diagnostic) {
        json.Text("entity_category", "diagnostic");
    }
    return End();
}

DeviceConfig& DeviceConfig::Removed(const std::string& component, const std::string& platform) {
    m_json.BeginObject(component.c_str()).Text("p", platform).EndObject();
    return *this;
}

std::string DeviceConfig::Finish() {
    m_json.EndObject();
    return m_json.Finish();
}
