#include "Discovery.h"

#include "StateSample.h"
#include "Topics.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QJsonObject Device(const StateSample& sample) {
    QJsonObject device;
    device.insert("identifiers", QJsonArray{Text(sample.serialNo)});
    device.insert("name", Text(sample.model + " " + sample.serialNo));
    device.insert("model", Text(sample.model));
    device.insert("manufacturer", Text(sample.manufacturer));
    device.insert("sw_version", Text(sample.firmware));
    return device;
}

// What every sensor of one inverter shares.
QJsonObject SensorBase(const Topics& topics, const std::string& id, const StateSample& sample) {
    QJsonObject base;
    base.insert("state_topic", Text(topics.State(id)));
    base.insert("availability", QJsonArray{QJsonObject{{"topic", Text(topics.Status())}},
                                           QJsonObject{{"topic", Text(topics.Availability(id))}}});
    base.insert("availability_mode", "all");
    base.insert("payload_available", "online");
    base.insert("payload_not_available", "offline");
    base.insert("device", Device(sample));
    return base;
}

MqttMessage SensorConfig(const Topics& topics, const std::string& id, QJsonObject config,
                         const StateField& field) {
    const std::string uniqueId = "heliowatch_" + id + "_" + field.key;
    config.insert("name", field.name);
    config.insert("unique_id", Text(uniqueId));
    config.insert("object_id", Text(uniqueId));
    config.insert("value_template", QString("{{ value_json.%1 }}").arg(field.key));
    if (field.deviceClass != nullptr) {
        config.insert("device_class", field.deviceClass);
    }
    if (field.stateClass != nullptr) {
        config.insert("state_class", field.stateClass);
    }
    if (field.unit != nullptr) {
        config.insert("unit_of_measurement", QString::fromUtf8(field.unit));
    }
    return {topics.SensorConfig(id, field.key),
            QJsonDocument(config).toJson(QJsonDocument::Compact), 1, true};
}
} // namespace

std::vector<MqttMessage> DiscoveryMessages(const Topics& topics, const StateSample& sample,
                                           const std::vector<FieldValue>& values) {
    const std::string id = TopicId(sample.serialNo);
    const QJsonObject base = SensorBase(topics, id, sample);
    std::vector<MqttMessage> messages;
    for (const FieldValue& value : values) {
        if (value.field->sensor) {
            messages.push_back(SensorConfig(topics, id, base, *value.field));
        }
    }
    for (const StateField* field : TextSensors()) {
        messages.push_back(SensorConfig(topics, id, base, *field));
    }
    return messages;
}

std::vector<MqttMessage> DiscoveryRemovals(const Topics& topics, const std::string& id) {
    std::vector<MqttMessage> messages;
    for (const StateField* field : AllSensors()) {
        messages.push_back({topics.SensorConfig(id, field->key), QByteArray(), 1, true});
    }
    return messages;
}
