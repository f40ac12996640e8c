#include "SunPosition.h"

#include <cmath>
#include <numbers>

namespace {
constexpr double UNIX_EPOCH_JULIAN_DAY = 2440587.5;
constexpr double J2000_JULIAN_DAY = 2451545.0;
constexpr double SECONDS_PER_DAY = 86400.0;

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

double Degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}
} // namespace

// The low-precision solar coordinates of the astronomical almanac.
double SunElevation(double latitude, double longitude, std::time_t time) {
    const double days =
        static_cast<double>(time) / SECONDS_PER_DAY + UNIX_EPOCH_JULIAN_DAY - J2000_JULIAN_DAY;
    const double meanLongitude = std::fmod(280.460 + 0.9856474 * days, 360.0);
    const double meanAnomaly = Radians(std::fmod(357.528 + 0.9856003 * days, 360.0));
    const double eclipticLongitude = Radians(meanLongitude + 1.915 * std::sin(meanAnomaly) +
                                             0.020 * std::sin(2.0 * meanAnomaly));
    const double obliquity = Radians(23.439 - 0.0000004 * days);
    const double rightAscension =
        std::atan2(std::cos(obliquity) * std::sin(eclipticLongitude), std::cos(eclipticLongitude));
    const double declination = std::asin(std::sin(obliquity) * std::sin(eclipticLongitude));
    const double siderealDegrees = std::fmod(280.46061837 + 360.98564736629 * days, 360.0);
    const double hourAngle = Radians(siderealDegrees + longitude) - rightAscension;
    const double lat = Radians(latitude);
    return Degrees(std::asin(std::sin(lat) * std::sin(declination) +
                             std::cos(lat) * std::cos(declination) * std::cos(hourAngle)));
}
