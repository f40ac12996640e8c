#include "MqttSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <unistd.h>

namespace {
constexpr int MAX_PORT = 65535;

std::string HostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return "station";
    }
    return name;
}

// A number that does not parse becomes 0, which the check rejects by name.
int ReadInt(const QSettings& file, const char* key, int defaultValue) {
    const QVariant value = file.value(key);
    if (!value.isValid()) {
        return defaultValue;
    }
    bool isNumber = false;
    const int number = value.toString().trimmed().toInt(&isNumber);
    return isNumber ? number : 0;
}

std::string ReadText(const QSettings& file, const char* key, const std::string& defaultValue) {
    const QVariant value = file.value(key);
    return value.isValid() ? value.toString().toStdString() : defaultValue;
}

// A topic level separator is allowed, wildcards and control bytes are not.
std::string TopicProblem(const char* key, const std::string& topic) {
    if (topic.empty()) {
        return std::string(key) + " is empty";
    }
    for (const char c : topic) {
        if (c == '+' || c == '#' || static_cast<unsigned char>(c) < 0x20) {
            return std::string(key) + " may not contain '+', '#' or control characters";
        }
    }
    if (topic.front() == '/' || topic.back() == '/') {
        return std::string(key) + " may not begin or end with '/'";
    }
    return {};
}
} // namespace

MqttSettings LoadMqttSettings(const std::string& iniPath) {
    const QSettings file(QString::fromStdString(iniPath), QSettings::IniFormat);
    const MqttSettings defaults;
    MqttSettings settings;
    settings.enable = ReadInt(file, "Mqtt/Enable", 0) == 1;
    settings.host = ReadText(file, "Mqtt/Host", defaults.host);
    settings.port = ReadInt(file, "Mqtt/Port", defaults.port);
    settings.clientId = ReadText(file, "Mqtt/ClientId", DefaultClientId());
    settings.user = ReadText(file, "Mqtt/User", defaults.user);
    settings.passwordFile = ReadText(file, "Mqtt/PasswordFile", defaults.passwordFile);
    settings.password = ReadText(file, "Mqtt/Password", defaults.password);
    settings.tls = ReadInt(file, "Mqtt/Tls", 0) == 1;
    settings.caFile = ReadText(file, "Mqtt/CaFile", defaults.caFile);
    settings.topicPrefix = ReadText(file, "Mqtt/TopicPrefix", DefaultTopicPrefix());
    settings.discovery = ReadInt(file, "Mqtt/Discovery", 1) == 1;
    settings.discoveryPrefix = ReadText(file, "Mqtt/DiscoveryPrefix", defaults.discoveryPrefix);
    return settings;
}

bool SaveMqttSettings(const std::string& iniPath, const MqttSettings& settings) {
    QDir().mkpath(QFileInfo(QString::fromStdString(iniPath)).absolutePath());
    QSettings file(QString::fromStdString(iniPath), QSettings::IniFormat);
    const auto text = [](const std::string& value) { return QString::fromStdString(value); };
    file.beginGroup("Mqtt");
    file.setValue("Enable", settings.enable ? 1 : 0);
    file.setValue("Host", text(settings.host));
    file.setValue("Port", settings.port);
    file.setValue("ClientId", text(settings.clientId));
    file.setValue("User", text(settings.user));
    file.setValue("PasswordFile", text(settings.passwordFile));
    // A password the operator keeps in a file is never copied into this one.
    if (settings.password.empty()) {
        file.remove("Password");
    } else {
        file.setValue("Password", text(settings.password));
    }
    file.setValue("Tls", settings.tls ? 1 : 0);
    file.setValue("CaFile", text(settings.caFile));
    file.setValue("TopicPrefix", text(settings.topicPrefix));
    file.setValue("Discovery", settings.discovery ? 1 : 0);
    file.setValue("DiscoveryPrefix", text(settings.discoveryPrefix));
    file.endGroup();
    file.sync();
    return file.status() == QSettings::NoError;
}

std::string MqttSettingsProblem(const MqttSettings& settings) {
    if (settings.host.empty()) {
        return "Host is empty";
    }
    if (settings.port < 1 || settings.port > MAX_PORT) {
        return "Port must be a number from 1 to 65535";
    }
    if (std::string problem = TopicProblem("TopicPrefix", settings.topicPrefix); !problem.empty()) {
        return problem;
    }
    if (settings.discovery) {
        return TopicProblem("DiscoveryPrefix", settings.discoveryPrefix);
    }
    return {};
}

std::string DefaultTopicPrefix() {
    return "heliowatch/" + HostName();
}

std::string DefaultClientId() {
    return "heliowatch-" + HostName();
}
