#include "ServiceStatusLine.h"

#include "store/PlantTotals.h"

#include <cstdio>
#include <sys/stat.h>

namespace {
constexpr double WATTS_PER_KW = 1000.0;
constexpr double WHOLE_KW_FROM = 10.0;

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Whole kilowatts for a plant of some size, tenths for a small one.
std::string Kilowatts(double watts) {
    const double kw = watts / WATTS_PER_KW;
    char text[32];
    std::snprintf(text, sizeof text, kw >= WHOLE_KW_FROM ? "%.0f kW" : "%.1f kW", kw);
    return text;
}
} // namespace

std::string ServiceStatusLine(const PlantTotals& totals) {
    std::string line = std::to_string(totals.reporting) + " of " +
                       std::to_string(totals.registered) + " reporting, " +
                       Counted(totals.faults, "fault", "faults") + ", " + Kilowatts(totals.powerW);
    if (totals.portsLost > 0) {
        line += ", " + Counted(totals.portsLost, "port lost", "ports lost");
    }
    return line;
}

std::string NoPortAdvice(const std::string& settingsFile) {
    struct stat status {};
    const bool exists = ::stat(settingsFile.c_str(), &status) == 0;
    return (exists ? "no port is enabled: edit " : "no settings file: create ") + settingsFile +
           " and set [ComN] Enable=1; see heliowatch --list-ports";
}
