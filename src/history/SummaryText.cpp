#include "SummaryText.h"

#include <cstdio>
#include <cstdlib>

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
