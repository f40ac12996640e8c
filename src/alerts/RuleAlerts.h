#pragma once

#include "Alert.h"
#include "AlertRule.h"

#include <ctime>
#include <string>

struct EventSubject;

// The alerts of each rule with their identity, subject, title and text; the
// engine stamps the time and the station.
namespace RuleAlerts {

Alert FaultOpened(const EventSubject& inverter);
Alert FaultClosed(const EventSubject& inverter, std::time_t lasted);
Alert Offline(const EventSubject& inverter, int minutes);
Alert BackOnline(const EventSubject& inverter, std::time_t lasted);
// Ends the rule's condition of an inverter taken off the station.
Alert Removed(AlertRule rule, const EventSubject& inverter);
Alert PortFailed(int port, const std::string& reason, int minutes);
Alert PortOpen(int port, std::time_t lasted);
Alert HistoryFailed(const std::string& problem);
Alert HistoryWritten(std::time_t lasted);
Alert BrokerLost(const std::string& reason, int minutes);
Alert BrokerBack(std::time_t lasted);
Alert Test(const std::string& channel, const std::string& station);

// The identity a rule gives an inverter.
std::string InverterIdentity(AlertRule rule, const EventSubject& inverter);
std::string PortIdentity(int port);
// "12 min", "2 h 5 min", "3 d 4 h".
std::string DurationText(std::time_t seconds);

} // namespace RuleAlerts
