#include "EventLine.h"

#include "platform/TimeText.h"

#include <algorithm>
#include <cstdio>

namespace {
std::string PrintableSerial(const std::string& serialNo) {
    if (serialNo.empty()) {
        return "-";
    }
    std::string shown = serialNo;
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte >= 0x7F) {
            c = '_';
        }
    }
    return shown;
}
} // namespace

std::string EventLine(std::time_t when, int comPort, int address, const std::string& serialNo,
                      const char* event) {
    const std::string addressText = address > 0 ? std::to_string(address) : "-";
    return LocalTimeText(when) + " COM" + std::to_string(comPort) + " " + addressText + " " +
           PrintableSerial(serialNo) + " " + event;
}

LogLevel EventLevel(StationEventKind kind) {
    switch (kind) {
    case StationEventKind::Offline:
    case StationEventKind::FaultOpened:
    case StationEventKind::PortFailed: return LogLevel::Warning;
    default: return LogLevel::Info;
    }
}

std::string BrokerLine(std::time_t when, bool connected, const std::string& reason,
                       std::uint64_t dropped) {
    std::string line = LocalTimeText(when);
    if (!connected) {
        return line + " broker-lost " + reason;
    }
    line += " broker-connected";
    if (dropped > 0) {
        line += " dropped=" + std::to_string(dropped);
    }
    return line;
}

std::string PlantLine(std::time_t when, double powerW, double eTodayKWh, double eTotalKWh,
                      int answering, int registered) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "plant %s power=%.1fW e-today=%.2fkWh e-total=%.1fkWh answering=%d/%d",
                  LocalTimeText(when).c_str(), powerW, eTodayKWh, eTotalKWh, answering, registered);
    return text;
}

std::string RejectsField(int comPort, const ReplyRejectCounts& rejects) {
    std::string field;
    for (const auto& [check, count] : rejects.NonZero()) {
        std::string rule = ReplyCheckText(check);
        std::replace(rule.begin(), rule.end(), ' ', '-');
        field += (field.empty() ? " rejected[COM" + std::to_string(comPort) + "]=" : ",") + rule +
                 ":" + std::to_string(count);
    }
    return field;
}
