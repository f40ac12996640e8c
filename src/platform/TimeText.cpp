#include "TimeText.h"

#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <sstream>

std::string LocalTimeText(std::time_t time, const char* format) {
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return {};
    }
    std::ostringstream text;
    text << std::put_time(&local, format);
    return text.str();
}

std::string LocalTimeText(std::time_t time) {
    return LocalTimeText(time, "%Y/%m/%d %H:%M:%S");
}

namespace {
std::string WithUtcOffset(std::time_t time, const char* format) {
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return {};
    }
    const long minutes = std::labs(local.tm_gmtoff) / 60;
    char zone[40];
    std::snprintf(zone, sizeof zone, "%c%02ld:%02ld", local.tm_gmtoff < 0 ? '-' : '+', minutes / 60,
                  minutes % 60);
    return LocalTimeText(time, format) + zone;
}
} // namespace

std::string IsoTimeText(std::time_t time) {
    return WithUtcOffset(time, "%Y-%m-%dT%H:%M:%S");
}

std::string IsoMinuteText(std::time_t time) {
    return WithUtcOffset(time, "%Y-%m-%dT%H:%M");
}
