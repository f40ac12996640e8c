#include "Discovery.h"

#include "DeviceConfig.h"
#include "HeliowatchVersion.h"
#include "PlantFields.h"
#include "StateSample.h"
#include "store/FaultText.h"

#include <QByteArray>

namespace {
std::string InverterPage(const std::string& webUrl, const std::string& serialNo) {
    if (webUrl.empty()) {
        return {};
    }
    return webUrl + "/inverter?serial=" +
           QByteArray::fromStdString(serialNo).toPercentEncoding().toStdString();
}

void AddWorkMode(DeviceConfig& config) {
    JsonWriter& json = config.Begin("sensor", "work_mode", "Work mode");
    json.Text("device_class", "enum").BeginArray("options");
    for (int mode = 0; mode <= 3; ++mode) {
        json.Text(nullptr, ModeText(mode));
    }
    json.EndArray()
        .Text("value_template", "{{ value_json.work_mode_text }}")
        .Text("entity_category", "diagnostic");
    config.End();
}

// On from a sample in a fault mode until one in a normal or waiting mode, as
// the fault record file opens and closes its records.
void AddProblem(DeviceConfig& config) {
    config.Begin("binary_sensor", "problem", "Fault")
        .Text("device_class", "problem")
        .Text("value_template", "{{ 'ON' if value_json.work_mode > 1 else 'OFF' }}");
    config.End();
}

void AddFaultEvent(DeviceConfig& config, const std::string& topic) {
    config.Begin("event", "fault", "Fault event")
        .Text("state_topic", topic)
        .BeginArray("event_types")
        .Text(nullptr, "fault_opened")
        .Text(nullptr, "fault_closed")
        .EndArray();
    config.End();
}

// Its text as the state, and text, value, error bits and times as attributes.
void AddLastFault(DeviceConfig& config, const std::string& topic) {
    config.Begin("sensor", "last_fault", "Last fault")
        .Text("state_topic", topic)
        .Text("value_template", "{{ value_json.text }}")
        .Text("json_attributes_topic", topic);
    config.End();
}
} // namespace

MqttMessage InverterDiscovery(const DiscoveryContext& context, const StateSample& sample,
                              const std::vector<FieldValue>& values,
                              const std::vector<std::string>& removed) {
    const std::string id = TopicId(sample.serialNo);
    const DiscoveredDevice device{context.names.InverterDevice(id),
                                  sample.model.empty() ? sample.serialNo
                                                       : sample.model + " " + sample.serialNo,
                                  sample.manufacturer,
                                  sample.model,
                                  sample.serialNo,
                                  sample.firmware,
                                  context.names.PlantDevice(),
                                  InverterPage(context.webUrl, sample.serialNo)};
    DeviceConfig config(device, sample.serialNo,
                        {context.topics.Status(), context.topics.Availability(id)},
                        context.topics.State(id));
    for (const FieldValue& value : values) {
        if (value.field->IsSensor()) {
            config.Sensor(*value.field);
        }
    }
    AddWorkMode(config);
    AddProblem(config);
    AddFaultEvent(config, context.topics.Fault(id));
    AddLastFault(config, context.topics.LastFault(id));
    for (const std::string& component : removed) {
        config.Removed(component, "sensor");
    }
    return {context.topics.DeviceConfig(device.id), config.Finish(), true};
}

MqttMessage PlantDiscovery(const DiscoveryContext& context) {
    DiscoveredDevice device;
    device.id = context.names.PlantDevice();
    device.name = "Heliowatch plant";
    device.model = "Heliowatch";
    device.swVersion = HELIOWATCH_VERSION;
    device.configurationUrl = context.webUrl.empty() ? "" : context.webUrl + "/";
    DeviceConfig config(device, "plant", {context.topics.Status()}, context.topics.Plant());
    for (const StateField* field : PlantFields()) {
        if (field->IsSensor()) {
            config.Sensor(*field);
        }
    }
    if (context.commands) {
        config.Begin("button", "reconnect_all", "Reconnect all")
            .Text("command_topic", context.topics.Command("reconnect_all"));
        config.End();
    }
    return {context.topics.DeviceConfig(device.id), config.Finish(), true};
}

MqttMessage DiscoveryRemoval(const DiscoveryContext& context, const std::string& deviceId) {
    return {context.topics.DeviceConfig(deviceId), "", true};
}
