#include "Discovery.h"

#include "JsonWriter.h"
#include "StateSample.h"
#include "Topics.h"

namespace {
// One sensor: what every sensor of the inverter shares, then its own.
MqttMessage SensorConfig(const Topics& topics, const std::string& id, const StateSample& sample,
                         const StateField& field) {
    const std::string uniqueId = "heliowatch_" + id + "_" + field.key;
    JsonWriter json;
    json.Text("name", field.name)
        .Text("unique_id", uniqueId)
        .Text("object_id", uniqueId)
        .Text("state_topic", topics.State(id))
        .Text("value_template", std::string("{{ value_json.") + field.key + " }}");
    if (field.deviceClass != nullptr) {
        json.Text("device_class", field.deviceClass);
    }
    if (field.stateClass != nullptr) {
        json.Text("state_class", field.stateClass);
    }
    if (field.unit != nullptr) {
        json.Text("unit_of_measurement", field.unit);
    }
    json.BeginArray("availability")
        .BeginObject()
        .Text("topic", topics.Status())
        .EndObject()
        .BeginObject()
        .Text("topic", topics.Availability(id))
        .EndObject()
        .EndArray()
        .Text("availability_mode", "all")
        .Text("payload_available", "online")
        .Text("payload_not_available", "offline");
    json.BeginObject("device")
        .BeginArray("identifiers")
        .Text(nullptr, sample.serialNo)
        .EndArray()
        .Text("name", sample.model + " " + sample.serialNo)
        .Text("model", sample.model)
        .Text("manufacturer", sample.manufacturer)
        .Text("sw_version", sample.firmware)
        .EndObject();
    return {topics.SensorConfig(id, field.key), json.Finish(), true};
}
} // namespace

std::vector<MqttMessage> DiscoveryMessages(const Topics& topics, const StateSample& sample,
                                           const std::vector<FieldValue>& values) {
    const std::string id = TopicId(sample.serialNo);
    std::vector<MqttMessage> messages;
    for (const FieldValue& value : values) {
        if (value.field->sensor) {
            messages.push_back(SensorConfig(topics, id, sample, *value.field));
        }
    }
    for (const StateField* field : TextSensors()) {
        messages.push_back(SensorConfig(topics, id, sample, *field));
    }
    return messages;
}

std::vector<MqttMessage> DiscoveryRemovals(const Topics& topics, const std::string& id) {
    std::vector<MqttMessage> messages;
    for (const StateField* field : AllSensors()) {
        messages.push_back({topics.SensorConfig(id, field->key), "", true});
    }
    return messages;
}
