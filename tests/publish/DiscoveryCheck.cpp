#include "DiscoveryCheck.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <map>

namespace {

enum class Type { String, Integer, Array, Object };
using Keys = std::map<QString, Type>;

const Keys ROOT{{"device", Type::Object},      {"origin", Type::Object},
                {"availability", Type::Array}, {"availability_mode", Type::String},
                {"state_topic", Type::String}, {"cmps", Type::Object}};
const Keys DEVICE{{"identifiers", Type::Array},    {"name", Type::String},
                  {"manufacturer", Type::String},  {"model", Type::String},
                  {"serial_number", Type::String}, {"sw_version", Type::String},
                  {"via_device", Type::String},    {"configuration_url", Type::String}};
const Keys ORIGIN{
    {"name", Type::String}, {"sw_version", Type::String}, {"support_url", Type::String}};
const Keys COMPONENT{{"p", Type::String},
                     {"name", Type::String},
                     {"unique_id", Type::String},
                     {"default_entity_id", Type::String},
                     {"device_class", Type::String},
                     {"unit_of_measurement", Type::String},
                     {"state_class", Type::String},
                     {"suggested_display_precision", Type::Integer},
                     {"value_template", Type::String},
                     {"entity_category", Type::String},
                     {"options", Type::Array},
                     {"state_topic", Type::String},
                     {"event_types", Type::Array},
                     {"json_attributes_topic", Type::String},
                     {"command_topic", Type::String}};
// What each platform cannot do without.
const std::map<QString, std::vector<QString>> REQUIRED{
    {"sensor", {"name", "unique_id", "default_entity_id", "value_template"}},
    {"binary_sensor", {"name", "unique_id", "default_entity_id", "device_class", "value_template"}},
    {"event", {"name", "unique_id", "default_entity_id", "state_topic", "event_types"}},
    {"button", {"name", "unique_id", "default_entity_id", "command_topic"}},
};
const std::map<QString, QString> UNIT_OF_CLASS{
    {"power", "W"},      {"energy", "kWh"},     {"voltage", "V"}, {"current", "A"},
    {"frequency", "Hz"}, {"temperature", "°C"}, {"duration", "h"}};

bool HasType(const QJsonValue& value, Type type) {
    switch (type) {
    case Type::String: return value.isString();
    case Type::Integer: return value.isDouble() && value.toDouble() == value.toInt();
    case Type::Array: return value.isArray();
    case Type::Object: return value.isObject();
    }
    return false;
}

void CheckKeys(const QJsonObject& object, const Keys& keys, const QString& where,
               std::vector<std::string>& problems) {
    for (auto it = object.begin(); it != object.end(); ++it) {
        const auto known = keys.find(it.key());
        if (known == keys.end()) {
            problems.push_back((where + ": unknown key " + it.key()).toStdString());
        } else if (!HasType(it.value(), known->second)) {
            problems.push_back((where + ": " + it.key() + " of the wrong type").toStdString());
        }
    }
}

void CheckSensor(const QJsonObject& component, const QString& where,
                 std::vector<std::string>& problems) {
    const QString deviceClass = component["device_class"].toString();
    const auto unit = UNIT_OF_CLASS.find(deviceClass);
    if (unit != UNIT_OF_CLASS.end() &&
        component["unit_of_measurement"].toString() != unit->second) {
        problems.push_back((where + ": " + deviceClass + " not in " + unit->second).toStdString());
    }
    if (deviceClass == "enum") {
        if (component["options"].toArray().isEmpty() || component.contains("state_class") ||
            component.contains("unit_of_measurement")) {
            problems.push_back((where + ": an enum needs options and no unit").toStdString());
        }
    } else if (component.contains("state_class") &&
               !component.contains("suggested_display_precision")) {
        problems.push_back((where + ": no display precision").toStdString());
    }
}

void CheckComponent(const QJsonObject& component, const QString& where, const QJsonObject& state,
                    std::vector<std::string>& problems) {
    CheckKeys(component, COMPONENT, where, problems);
    const QString platform = component["p"].toString();
    const auto required = REQUIRED.find(platform);
    if (required == REQUIRED.end()) {
        problems.push_back((where + ": platform " + platform).toStdString());
        return;
    }
    for (const QString& key : required->second) {
        if (!component.contains(key)) {
            problems.push_back((where + ": no " + key).toStdString());
        }
    }
    static const QRegularExpression entityId("^([a-z_]+)\\.[a-z0-9]+(_[a-z0-9]+)*$");
    const auto match = entityId.match(component["default_entity_id"].toString());
    if (!match.hasMatch() || match.captured(1) != platform) {
        problems.push_back(
            (where + ": entity id " + component["default_entity_id"].toString()).toStdString());
    }
    if (platform == "sensor") {
        CheckSensor(component, where, problems);
    }
    static const QRegularExpression templateKey("value_json\\.(\\w+)");
    auto keys = templateKey.globalMatch(component["value_template"].toString());
    while (!component.contains("state_topic") && keys.hasNext()) {
        const QString key = keys.next().captured(1);
        if (!state.contains(key)) {
            problems.push_back((where + ": the state lacks " + key).toStdString());
        }
    }
}

} // namespace

std::vector<std::string> DeviceConfigProblems(const QJsonObject& config, const QJsonObject& state) {
    std::vector<std::string> problems;
    CheckKeys(config, ROOT, "root", problems);
    CheckKeys(config["device"].toObject(), DEVICE, "device", problems);
    CheckKeys(config["origin"].toObject(), ORIGIN, "origin", problems);
    if (config["origin"]["name"].toString().isEmpty() ||
        config["device"]["identifiers"].toArray().isEmpty()) {
        problems.emplace_back("no origin name or device identifier");
    }
    const QJsonObject components = config["cmps"].toObject();
    for (auto it = components.begin(); it != components.end(); ++it) {
        CheckComponent(it.value().toObject(), it.key(), state, problems);
    }
    return problems;
}
