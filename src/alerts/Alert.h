#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

// open and closed announce a condition's start and end; report stands alone.
enum class AlertState { Open, Closed, Report };
enum class Severity { Info, Warning, Error };

// "open", "closed", "report".
const char* AlertStateName(AlertState state);
std::optional<AlertState> ParseAlertState(const std::string& name);
// "info", "warning", "error".
const char* SeverityName(Severity severity);
std::optional<Severity> ParseSeverity(const std::string& name);

// One message for the owner. Its identity is what repeats of the same
// condition share: the rule and what it is about.
struct Alert {
    std::int64_t id = 0; // in the outbox; 0 before it is kept there
    std::string identity;
    std::string rule;
    AlertState state = AlertState::Report;
    Severity severity = Severity::Info;
    std::string serial; // empty when not about an inverter
    int port = 0;       // 0 when not about a port
    int address = 0;    // 0 when not about an inverter
    std::string title;  // a subject line
    std::string text;   // the whole message
    std::time_t time = 0;
    int count = 1; // how often the condition opened in the time this alert stands for
    std::string station;
};
