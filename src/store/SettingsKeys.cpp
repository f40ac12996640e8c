#include "SettingsKeys.h"

namespace {
constexpr const char* CHANNELS_MEANING =
    "the channels this alert may use (webhook, mail, desktop, mqtt, or none); empty: all";
constexpr const char* SEVERITY_MEANING = "the least severity the channel carries: info, "
                                         "warning or error";
} // namespace

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
        {"Mqtt", "StationId", "", Text, ANY_INT_RANGE,
         "part of every unique id (letters, digits and -, at most 32); empty: from a hash of "
         "/etc/machine-id"},
        {"Mqtt", "Commands", "0", Switch, SWITCH_RANGE, "1 lets Home Assistant press buttons"},
        {"Web", "Enable", "0", Switch, SWITCH_RANGE, "1 serves the dashboard and metrics"},
        {"Web", "Listen", "127.0.0.1", Text, ANY_INT_RANGE,
         "the address to listen on (0.0.0.0 for every IPv4 address)"},
        {"Web", "Port", "8080", Number, TCP_PORT_RANGE, "the TCP port to listen on"},
        {"Web", "User", "", Text, ANY_INT_RANGE, "user name for HTTP basic authentication"},
        {"Web", "PasswordFile", "", File, ANY_INT_RANGE,
         "file whose first line is the password; when set, every request authenticates"},
        {"Web", "TlsCert", "", File, ANY_INT_RANGE, "PEM certificate; with TlsKey, HTTPS"},
        {"Web", "TlsKey", "", File, ANY_INT_RANGE, "PEM key of TlsCert"},
        {"Web", "AllowedHosts", "", Text, ANY_INT_RANGE,
         "host names answered without a password besides Listen and localhost"},
        {"Alerts", "Enable", "1", Switch, SWITCH_RANGE, "0 sends no alert at all"},
        {"Alerts", "WebhookUrl", "", Text, ANY_INT_RANGE, "POST every alert to this URL"},
        {"Alerts", "WebhookFormat", "json", Text, ANY_INT_RANGE,
         "json, or ntfy for the plain-text form"},
        {"Alerts", "WebhookTokenFile", "", File, ANY_INT_RANGE,
         "file whose first line is the webhook's bearer token"},
        {"Alerts", "SmtpUrl", "", Text, ANY_INT_RANGE, "mail server as smtp://host:port"},
        {"Alerts", "SmtpStartTls", "1", Switch, SWITCH_RANGE, "1 requires STARTTLS"},
        {"Alerts", "SmtpUser", "", Text, ANY_INT_RANGE, "user name at the mail server"},
        {"Alerts", "SmtpPasswordFile", "", File, ANY_INT_RANGE,
         "file whose first line is the mail password"},
        {"Alerts", "MailFrom", "", Text, ANY_INT_RANGE, "the sender of alert mail"},
        {"Alerts", "MailTo", "", Text, ANY_INT_RANGE, "recipients, comma-separated"},
        {"Alerts", "CaFile", "", File, ANY_INT_RANGE,
         "certificate authorities for the webhook and mail; empty: the system's"},
        {"Alerts", "Desktop", "1", Switch, SWITCH_RANGE, "1 shows alerts on the desktop (window)"},
        {"Alerts", "Mqtt", "1", Switch, SWITCH_RANGE, "1 publishes alerts while publishing"},
        {"Alerts",
         "OfflineMinutes",
         "15",
         Number,
         {0, 24 * 60},
         "minutes an inverter may stay silent while the plant produces; 0: off"},
        {"Alerts",
         "PortMinutes",
         "5",
         Number,
         {0, 24 * 60},
         "minutes a port may stay failed before an alert; 0: off"},
        {"Alerts",
         "BrokerMinutes",
         "15",
         Number,
         {0, 24 * 60},
         "minutes the broker may stay away before an alert; 0: off"},
        {"Alerts",
         "WeakDayPercent",
         "60",
         Number,
         {0, 100},
         "below this percentage of its share of the plant over 14 days, a day is weak; 0: off"},
        {"Alerts", "DailySummary", "0", Switch, SWITCH_RANGE, "1 sends a summary each evening"},
        {"Alerts",
         "RepeatMinutes",
         "360",
         Number,
         {0, 7 * 24 * 60},
         "minutes in which openings of the same condition fold into one alert with a count"},
        {"Alerts", "QuietFrom", "", Text, ANY_INT_RANGE,
         "start of the quiet hours (HH:MM), when only faults are sent"},
        {"Alerts", "QuietTo", "", Text, ANY_INT_RANGE, "end of the quiet hours (HH:MM)"},
        {"Alerts", "Latitude", "", Text, ANY_INT_RANGE,
         "degrees north; while the sun is up the plant counts as producing"},
        {"Alerts", "Longitude", "", Text, ANY_INT_RANGE, "degrees east"},
        {"Alerts", "FaultChannels", "", Text, ANY_INT_RANGE, CHANNELS_MEANING},
        {"Alerts", "OfflineChannels", "", Text, ANY_INT_RANGE, CHANNELS_MEANING},
        {"Alerts", "PortChannels", "", Text, ANY_INT_RANGE, CHANNELS_MEANING},
        {"Alerts", "HistoryChannels", "", Text, ANY_INT_RANGE, CHANNELS_MEANING},
        {"Alerts", "BrokerChannels", "", Text, ANY_INT_RANGE, CHANNELS_MEANING},
        {"Alerts", "WeakDayChannels", "", Text, ANY_INT_RANGE, CHANNELS_MEANING},
        {"Alerts", "DailySummaryChannels", "", Text, ANY_INT_RANGE, CHANNELS_MEANING},
        {"Alerts", "WebhookSeverity", "info", Text, ANY_INT_RANGE, SEVERITY_MEANING},
        {"Alerts", "MailSeverity", "info", Text, ANY_INT_RANGE, SEVERITY_MEANING},
        {"Alerts", "DesktopSeverity", "info", Text, ANY_INT_RANGE, SEVERITY_MEANING},
        {"Alerts", "MqttSeverity", "info", Text, ANY_INT_RANGE, SEVERITY_MEANING},
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
