#include "LocalDayTime.h"

#include <ctime>

namespace sim {

namespace {
// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}
} // namespace

LocalDayTime LocalDayTime::FromTime(std::int64_t time) {
    const auto value = static_cast<std::time_t>(time);
    std::tm local{};
    localtime_r(&value, &local);
    return {DaysFromCivil(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                          static_cast<unsigned>(local.tm_mday)),
            local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec};
}

LocalDayTime LocalDayTime::Midnight(int year, int month, int day) {
    return {DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)), 0};
}

std::int64_t LocalTimeOnSameDay(std::int64_t now, int secondOfDay) {
    const auto value = static_cast<std::time_t>(now);
    std::tm local{};
    localtime_r(&value, &local);
    local.tm_hour = secondOfDay / 3600;
    local.tm_min = secondOfDay / 60 % 60;
    local.tm_sec = secondOfDay % 60;
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&local));
}

} // namespace sim
