#include "Alert.h"

const char* AlertStateName(AlertState state) {
    switch (state) {
    case AlertState::Open: return "open";
    case AlertState::Closed: return "closed";
    case AlertState::Report: return "report";
    }
    return "report";
}

std::optional<AlertState> ParseAlertState(const std::string& name) {
    for (const AlertState state : {AlertState::Open, AlertState::Closed, AlertState::Report}) {
        if (name == AlertStateName(state)) {
            return state;
        }
    }
    return std::nullopt;
}

const char* SeverityName(Severity severity) {
    switch (severity) {
    case Severity::Info: return "info";
    case Severity::Warning: return "warning";
    case Severity::Error: return "error";
    }
    return "error";
}

std::optional<Severity> ParseSeverity(const std::string& name) {
    for (const Severity severity : {Severity::Info, Severity::Warning, Severity::Error}) {
        if (name == SeverityName(severity)) {
            return severity;
        }
    }
    return std::nullopt;
}
