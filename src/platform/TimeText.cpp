#include "TimeText.h"

#include <cstdio>
#include <cstdlib>

std::string LocalTimeText(std::time_t time) {
    std::tm local{};
    char text[32] = "";
    if (localtime_r(&time, &local) != nullptr) {
        std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    }
    return text;
}

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

