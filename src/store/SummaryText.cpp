#include "SummaryText.h"

#include <cstdio>
#include <cstdlib>

namespace {
std::string LocalText(std::time_t time, const char* format) {
    std::tm local{};
    char text[40] = "";
    if (localtime_r(&time, &local) == nullptr) {
        return text;
    }
    std::strftime(text, sizeof text, format, &local);
    const long offset = local.tm_gmtoff;
    const long minutes = std::labs(offset) / 60;
    char zone[40];
    std::snprintf(zone, sizeof zone, "%c%02ld:%02ld", offset < 0 ? '-' : '+', minutes / 60,
                  minutes % 60);
    return std::string(text) + zone;
}
} // namespace

std::string IsoTimeText(std::time_t time) {
    return LocalText(time, "%Y-%m-%dT%H:%M:%S");
}

std::string IsoMinuteText(std::time_t time) {
    return LocalText(time, "%Y-%m-%dT%H:%M");
}

std::string KilowattHoursText(std::int64_t wattHours, int decimals) {
    constexpr std::int64_t SCALE[] = {1000, 100, 10, 1};
    const std::int64_t step = SCALE[decimals < 0 ? 0 : decimals > 3 ? 3 : decimals];
    const std::int64_t magnitude = wattHours < 0 ? -wattHours : wattHours;
    const std::int64_t rounded = (magnitude + step / 2) / step;
    const std::int64_t perKilo = 1000 / step;
    char text[40];
    if (perKilo == 1) {
        std::snprintf(text, sizeof text, "%s%lld", wattHours < 0 ? "-" : "",
                      static_cast<long long>(rounded));
    } else {
        std::snprintf(text, sizeof text, "%s%lld.%0*lld", wattHours < 0 ? "-" : "",
                      static_cast<long long>(rounded / perKilo), decimals,
                      static_cast<long long>(rounded % perKilo));
    }
    return text;
}
