#include "DayAlerts.h"

#include "AlertRule.h"
#include "AlertText.h"
#include "history/HistoryPeriod.h"
#include "platform/TimeText.h"
#include "store/FaultRowText.h"
#include "store/FaultText.h"
#include "store/LocalCalendar.h"

#include <cstdio>
#include <map>

namespace DayAlerts {

namespace {
std::string KWh(std::int64_t wattHours) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f kWh", static_cast<double>(wattHours) / 1000.0);
    return text;
}

Alert Of(AlertRule rule, std::string identity, std::string title, std::string text) {
    Alert alert;
    alert.rule = RuleInfo(rule).name;
    alert.severity = RuleInfo(rule).severity;
    alert.state = AlertState::Report;
    alert.identity = std::move(identity);
    alert.title = std::move(title);
    alert.text = std::move(text);
    return alert;
}

std::string PeakLine(const std::optional<DayPeak>& peak) {
    if (!peak || peak->watts < 0) {
        return "";
    }
    char text[64];
    std::snprintf(text, sizeof text, ", peak %.2f kW at ",
                  static_cast<double>(peak->watts) / 1000.0);
    return text + LocalTimeText(peak->time, "%H:%M");
}

std::string FaultLines(const std::vector<InvFaultRecord>& faults) {
    std::map<std::string, std::map<std::string, int>> counted;
    for (const InvFaultRecord& record : faults) {
        ++counted[FaultSerialText(record)][FaultText(record.errorBits)];
    }
    if (counted.empty()) {
        return "Faults: none.\n";
    }
    std::string lines = "Faults:\n";
    for (const auto& [serial, texts] : counted) {
        for (const auto& [text, times] : texts) {
            lines += "  " + Utf8Text(serial) + ": " + (text.empty() ? "fault" : text) +
                     (times > 1 ? " (" + std::to_string(times) + " times)" : "") + "\n";
        }
    }
    return lines;
}
} // namespace

Alert WeakDay(const WeakInverter& weak, int day, int port, int address) {
    const std::string date = PeriodKeyText(day, 1);
    Alert alert = Of(AlertRule::WeakDay, "weak-day/" + weak.serial + "/" + date,
                     "Weak day: " + Utf8Text(weak.serial),
                     "Inverter " + Utf8Text(weak.serial) + " made " + KWh(weak.yieldWh) + " on " +
                         date + ", " + std::to_string(weak.percent) + " % of the " +
                         KWh(weak.expectedWh) + " its share of the plant over the last " +
                         std::to_string(SHARE_DAYS) + " days gives.");
    alert.serial = weak.serial;
    alert.port = port;
    alert.address = address;
    return alert;
}

Alert DailySummary(int day, const DayYields& yields, const std::optional<DayPeak>& peak,
                   const std::vector<InvFaultRecord>& faults) {
    const std::string date = PeriodKeyText(day, 1);
    std::int64_t plant = 0;
    std::string lines;
    for (const auto& [serial, days] : yields) {
        if (const auto found = days.find(day); found != days.end()) {
            plant += found->second;
            lines += "  " + Utf8Text(serial) + ": " + KWh(found->second) + "\n";
        }
    }
    return Of(AlertRule::DailySummary, "daily-summary/" + date, "Daily summary " + date,
              "The plant made " + KWh(plant) + " on " + date + PeakLine(peak) + ".\n" + lines +
                  FaultLines(faults));
}

std::vector<InvFaultRecord> FaultsOfDay(const std::vector<InvFaultRecord>& records, int day) {
    const LocalCalendar::Day bounds = LocalCalendar().Bounds(day);
    std::vector<InvFaultRecord> ofDay;
    for (const InvFaultRecord& record : records) {
        if (record.startTime >= bounds.start && record.startTime < bounds.end) {
            ofDay.push_back(record);
        }
    }
    return ofDay;
}

} // namespace DayAlerts
