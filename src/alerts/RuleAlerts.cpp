#include "RuleAlerts.h"

#include "AlertText.h"
#include "store/FaultText.h"
#include "store/StationEvent.h"

#include <cstdio>

namespace RuleAlerts {

namespace {
Alert Of(AlertRule rule, AlertState state, std::string identity, std::string title,
         std::string text) {
    Alert alert;
    alert.state = state;
    alert.rule = RuleInfo(rule).name;
    alert.severity = RuleInfo(rule).severity;
    alert.identity = std::move(identity);
    alert.title = std::move(title);
    alert.text = std::move(text);
    return alert;
}

Alert About(AlertRule rule, AlertState state, const EventSubject& inverter,
            const std::string& title, const std::string& text) {
    Alert alert = Of(rule, state, InverterIdentity(rule, inverter), title, text);
    alert.serial = inverter.serialNo;
    alert.port = inverter.comPort;
    alert.address = inverter.address;
    return alert;
}

std::string Name(const EventSubject& inverter) {
    return inverter.serialNo.empty() ? "without a serial number" : Utf8Text(inverter.serialNo);
}

// "Inverter SIM0000000003001 (COM3, address 1)"
std::string Described(const EventSubject& inverter) {
    return "Inverter " + Name(inverter) + " (COM" + std::to_string(inverter.comPort) +
           ", address " + std::to_string(inverter.address) + ")";
}

std::string FaultDetails(const EventSubject& inverter) {
    char bits[16];
    std::snprintf(bits, sizeof bits, "0x%08X", inverter.errorBits);
    std::string details = FaultText(inverter.errorBits);
    details += (details.empty() ? "error bits " : " (error bits ") + std::string(bits) +
               (details.empty() ? "" : ")");
    return inverter.faultValue.empty() ? details : details + ", " + inverter.faultValue;
}

std::string PortName(int port) {
    return "COM" + std::to_string(port);
}
} // namespace

Alert FaultOpened(const EventSubject& inverter) {
    return About(AlertRule::Fault, AlertState::Open, inverter, "Fault: " + Name(inverter),
                 Described(inverter) + " is in fault: " + FaultDetails(inverter) + ".");
}

Alert FaultClosed(const EventSubject& inverter, std::time_t lasted) {
    const std::string details = inverter.errorBits == 0 ? "" : ": " + FaultDetails(inverter);
    return About(AlertRule::Fault, AlertState::Closed, inverter, "Fault over: " + Name(inverter),
                 Described(inverter) + " is out of fault after " + DurationText(lasted) + details +
                     ".");
}

Alert Offline(const EventSubject& inverter, int minutes) {
    return About(AlertRule::Offline, AlertState::Open, inverter, "Offline: " + Name(inverter),
                 Described(inverter) + " has not answered for " + DurationText(minutes * 60) +
                     " while the plant produces.");
}

Alert BackOnline(const EventSubject& inverter, std::time_t lasted) {
    return About(AlertRule::Offline, AlertState::Closed, inverter, "Back online: " + Name(inverter),
                 Described(inverter) + " answers again after " + DurationText(lasted) + ".");
}

Alert Removed(AlertRule rule, const EventSubject& inverter) {
    return About(rule, AlertState::Closed, inverter, "Removed: " + Name(inverter),
                 Described(inverter) + " was removed from the station.");
}

Alert PortFailed(int port, const std::string& reason, int minutes) {
    Alert alert =
        Of(AlertRule::Port, AlertState::Open, PortIdentity(port), "Port failed: " + PortName(port),
           PortName(port) + " has not been open for " + DurationText(minutes * 60) +
               (reason.empty() ? "." : ": " + reason + "."));
    alert.port = port;
    return alert;
}

Alert PortOpen(int port, std::time_t lasted) {
    Alert alert =
        Of(AlertRule::Port, AlertState::Closed, PortIdentity(port), "Port open: " + PortName(port),
           PortName(port) + " is open again after " + DurationText(lasted) + ".");
    alert.port = port;
    return alert;
}

Alert HistoryFailed(const std::string& problem) {
    return Of(AlertRule::History, AlertState::Open, "history", "History not written",
              "The station cannot write its history files: " + problem + ".");
}

Alert HistoryWritten(std::time_t lasted) {
    return Of(AlertRule::History, AlertState::Closed, "history", "History written again",
              "The station writes its history files again after " + DurationText(lasted) + ".");
}

Alert BrokerLost(const std::string& reason, int minutes) {
    return Of(AlertRule::Broker, AlertState::Open, "broker", "MQTT broker lost",
              "The station has not reached its MQTT broker for " + DurationText(minutes * 60) +
                  ": " + reason + ".");
}

Alert BrokerBack(std::time_t lasted) {
    return Of(AlertRule::Broker, AlertState::Closed, "broker", "MQTT broker back",
              "The station reaches its MQTT broker again after " + DurationText(lasted) + ".");
}

Alert Test(const std::string& channel, const std::string& station) {
    Alert alert;
    alert.rule = RuleInfo(AlertRule::Test).name;
    alert.severity = Severity::Error; // so that every channel carries it
    alert.identity = "test/" + channel;
    alert.title = "Test alert";
    alert.text = "A test alert from the Heliowatch station " + Utf8Text(station) + ", sent by " +
                 channel + ". Alerts reach you this way.";
    return alert;
}

std::string InverterIdentity(AlertRule rule, const EventSubject& inverter) {
    const std::string name = inverter.serialNo.empty() ? PortName(inverter.comPort) + ":" +
                                                             std::to_string(inverter.address)
                                                       : inverter.serialNo;
    return std::string(RuleInfo(rule).name) + "/" + name;
}

std::string PortIdentity(int port) {
    return "port/" + PortName(port);
}

std::string DurationText(std::time_t seconds) {
    const std::time_t minutes = (seconds + 30) / 60;
    if (minutes < 60) {
        return std::to_string(minutes) + " min";
    }
    const std::time_t hours = minutes / 60;
    if (hours < 24) {
        return std::to_string(hours) + " h " + std::to_string(minutes % 60) + " min";
    }
    return std::to_string(hours / 24) + " d " + std::to_string(hours % 24) + " h";
}

} // namespace RuleAlerts
