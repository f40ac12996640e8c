#include "SettingsKeys.h"

// One row per key; a new key is one more row.
const std::vector<SettingKey>& SettingsKeys() {
    using enum SettingKind;
    static const std::vector<SettingKey> keys{
        {"Interval", "Interval", "2", Number, INTERVAL_RANGE,
         "seconds between two polls of each inverter"},
        {"Bus", "FastReplies", "0", Switch, SWITCH_RANGE,
         "1 ends a read as soon as its reply is whole instead of at its deadline"},
        {PORT_SECTION, "Enable", "0", Switch, SWITCH_RANGE, "1 polls the inverters on port n"},
        {PORT_SECTION, "EnvironmentCom", "0", Number, PORT_NUMBER_RANGE,
         "the port of this bus's environment sensor, 0 for none"},
        {PORT_SECTION, "EnvironmentEnable", "0", Switch, SWITCH_RANGE,
         "written with EnvironmentCom for older readers; EnvironmentCom decides"},
        {"Mqtt", "Enable", "0", Switch, SWITCH_RANGE, "1 publishes to the MQTT broker"},
        {"Mqtt", "Host", "", Text, ANY_INT_RANGE, "the broker's host name or address"},
        {"Mqtt", "Port", "1883", Number, TCP_PORT_RANGE, "the broker's TCP port"},
        {"Mqtt", "ClientId", "heliowatch-<host name>", Text, ANY_INT_RANGE,
         "the client id, unique per station on a shared broker"},
        {"Mqtt", "User", "", Text, ANY_INT_RANGE, "user name at the broker"},
        {"Mqtt", "PasswordFile", "", File, ANY_INT_RANGE,
         "file whose first line is the broker password"},
        {"Mqtt", "Password", "", Text, ANY_INT_RANGE,
         "the broker password itself, for those who accept it here"},
        {"Mqtt", "Tls", "0", Switch, SWITCH_RANGE, "1 speaks TLS to the broker"},
        {"Mqtt", "CaFile", "", File, ANY_INT_RANGE,
         "certificate authorities for Tls=1; empty: the system's"},
        {"Mqtt", "TopicPrefix", "heliowatch/<host name>", Text, ANY_INT_RANGE,
         "the first levels of every topic"},
        {"Mqtt", "Discovery", "1", Switch, SWITCH_RANGE, "1 sends Home Assistant discovery"},
        {"Mqtt", "DiscoveryPrefix", "homeassistant", Text, ANY_INT_RANGE,
         "the discovery prefix Home Assistant listens on"},
        {"Web", "Enable", "0", Switch, SWITCH_RANGE, "1 serves the dashboard and metrics"},
        {"Web", "Listen", "127.0.0.1", Text, ANY_INT_RANGE,
         "the address to listen on (0.0.0.0 for every IPv4 address)"},
        {"Web", "Port", "8080", Number, TCP_PORT_RANGE, "the TCP port to listen on"},
        {"Web", "User", "", Text, ANY_INT_RANGE, "user name for HTTP basic authentication"},
        {"Web", "PasswordFile", "", File, ANY_INT_RANGE,
         "file whose first line is the password; when set, every request authenticates"},
        {"Web", "TlsCert", "", File, ANY_INT_RANGE, "PEM certificate; with TlsKey, HTTPS"},
        {"Web", "TlsKey", "", File, ANY_INT_RANGE, "PEM key of TlsCert"},
    };
    return keys;
}

std::string SettingKindText(const SettingKey& key) {
    switch (key.kind) {
    case SettingKind::Switch: return "0 or 1";
    case SettingKind::Number:
        return std::to_string(key.range.min) + " to " + std::to_string(key.range.max);
    case SettingKind::Text: return "text";
    case SettingKind::File: return "file name";
    }
    return {};
}
