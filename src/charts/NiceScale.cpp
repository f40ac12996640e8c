#include "NiceScale.h"

#include <cstdint>

void NiceScaleMax(double* minimum, double* maximum) {
    *minimum = 0.0;
    if (*maximum < 1.0) {
        *maximum = 1.0;
        return;
    }
    const auto whole = static_cast<std::int64_t>(*maximum);
    std::int64_t leading = whole;
    std::int64_t step = 1;
    do {
        leading /= 10;
        step *= 10;
    } while (leading > 10);
    if (whole % step == 0 && *maximum - static_cast<double>(whole) < 0.000001) {
        *maximum = static_cast<double>(whole);
    } else {
        *maximum = static_cast<double>(step * (leading + 1));
    }
}

double GaugeScaleTop(double value) {
    constexpr double SMALLEST_SCALE_TOP = 99.99;
    double minimum = 0.0;
    double top = value;
    NiceScaleMax(&minimum, &top);
    return top < SMALLEST_SCALE_TOP ? 100.0 : top;
}
