#include "MqttSettings.h"

#include "SettingsStore.h"
#include "WebSettings.h"
#include "platform/FirstLine.h"

#include <QCryptographicHash>
#include <QString>
#include <algorithm>
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

const std::string SECTION = "Mqtt";

// A number that does not parse becomes 0, which the check rejects by name.
int ReadInt(const SettingsStore& file, const char* key, int defaultValue) {
    const std::string text = file.GetString(SECTION, key, {});
    if (text.empty()) {
        return defaultValue;
    }
    bool isNumber = false;
    const int number = QString::fromStdString(text).toInt(&isNumber);
    return isNumber ? number : 0;
}

std::string ReadText(const SettingsStore& file, const char* key, const std::string& defaultValue) {
    return file.GetString(SECTION, key, defaultValue);
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

// Unique ids and discovery topics join it with '_': it may not hold one.
std::string StationIdProblem(const std::string& id) {
    constexpr std::size_t MAX_LENGTH = 32;
    const bool fit = id.size() <= MAX_LENGTH && std::all_of(id.begin(), id.end(), [](char c) {
                         return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                (c >= '0' && c <= '9') || c == '-';
                     });
    return fit ? std::string()
               : "StationId may contain only letters, digits and '-', at most 32 of them";
}

// A listener on every address is reached by the machine's name.
std::string WebUrlOf(const WebSettings& web) {
    if (!web.enable) {
        return {};
    }
    std::string host = web.listen;
    if (host.empty() || host == "0.0.0.0" || host == "::" || host == "*") {
        host = HostName();
    } else if (host.find(':') != std::string::npos) {
        host = "[" + host + "]";
    }
    return (web.tlsCert.empty() ? "http://" : "https://") + host + ":" + std::to_string(web.port);
}
} // namespace

MqttSettings LoadMqttSettings(const std::string& iniPath) {
    const SettingsStore file(iniPath);
    const MqttSettings defaults;
    MqttSettings settings;
    settings.enable = ReadInt(file, "Enable", 0) == 1;
    settings.host = ReadText(file, "Host", defaults.host);
    settings.port = ReadInt(file, "Port", defaults.port);
    settings.clientId = ReadText(file, "ClientId", DefaultClientId());
    settings.user = ReadText(file, "User", defaults.user);
    settings.passwordFile = ReadText(file, "PasswordFile", defaults.passwordFile);
    settings.password = ReadText(file, "Password", defaults.password);
    settings.tls = ReadInt(file, "Tls", 0) == 1;
    settings.caFile = ReadText(file, "CaFile", defaults.caFile);
    settings.topicPrefix = ReadText(file, "TopicPrefix", DefaultTopicPrefix());
    settings.discovery = ReadInt(file, "Discovery", 1) == 1;
    settings.discoveryPrefix = ReadText(file, "DiscoveryPrefix", defaults.discoveryPrefix);
    settings.stationId = ReadText(file, "StationId", defaults.stationId);
    settings.commands = ReadInt(file, "Commands", 0) == 1;
    settings.webUrl = WebUrlOf(ReadWebSettings(file));
    return settings;
}

// Only the [Mqtt] lines change: comments and every other setting stay.
bool SaveMqttSettings(const std::string& iniPath, const MqttSettings& settings,
                      std::string* problem) {
    SettingsStore file(iniPath);
    SettingsStore::KeyValues values{
        {"Enable", settings.enable ? "1" : "0"},
        {"Host", settings.host},
        {"Port", std::to_string(settings.port)},
        {"ClientId", settings.clientId},
        {"User", settings.user},
        {"PasswordFile", settings.passwordFile},
        {"Tls", settings.tls ? "1" : "0"},
        {"CaFile", settings.caFile},
        {"TopicPrefix", settings.topicPrefix},
        {"Discovery", settings.discovery ? "1" : "0"},
        {"DiscoveryPrefix", settings.discoveryPrefix},
        {"Commands", settings.commands ? "1" : "0"},
    };
    // The machine's own id stays derived, so that a copied settings file
    // does not give two stations the same one.
    if (!settings.stationId.empty() || !file.GetString(SECTION, "StationId", {}).empty()) {
        values.emplace_back("StationId", settings.stationId);
    }
    // A password the operator keeps in a file is never copied into this one.
    if (!settings.password.empty() || !file.GetString(SECTION, "Password", {}).empty()) {
        values.emplace_back("Password", settings.password);
    }
    const bool written = file.WriteValues(SECTION, values);
    if (problem != nullptr) {
        *problem = file.WriteProblem();
    }
    return written;
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
    if (std::string problem = StationIdProblem(settings.stationId); !problem.empty()) {
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

std::string DefaultStationId() {
    const Outcome<std::string> machineId = ReadFirstLine("/etc/machine-id");
    const std::string identity = machineId && !machineId->empty() ? *machineId : HostName();
    const QByteArray hash = QCryptographicHash::hash(
        QByteArray::fromStdString("heliowatch station " + identity), QCryptographicHash::Sha256);
    constexpr int DIGITS = 12;
    return hash.toHex().left(DIGITS).toStdString();
}

std::string StationIdOf(const MqttSettings& settings) {
    return settings.stationId.empty() ? DefaultStationId() : settings.stationId;
}
