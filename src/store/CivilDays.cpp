#include "CivilDays.h"

#include <array>

namespace CivilDays {

namespace {
constexpr std::int64_t DAYS_PER_ERA = 146'097;
constexpr std::int64_t EPOCH_SHIFT = 719'468; // days from 0000-03-01 to 1970-01-01
} // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr std::array<int, 12> DAYS{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    return month == 2 && IsLeapYear(year) ? 29 : DAYS[static_cast<std::size_t>(month - 1)];
}

// Years counted from March, so that the leap day ends a year.
std::int64_t FromDate(int year, int month, int day) {
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * DAYS_PER_ERA + dayOfEra - EPOCH_SHIFT;
}

int KeyFromDays(std::int64_t days) {
    days += EPOCH_SHIFT;
    const std::int64_t era = (days >= 0 ? days : days - DAYS_PER_ERA + 1) / DAYS_PER_ERA;
    const std::int64_t dayOfEra = days - era * DAYS_PER_ERA;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return Key(year, month, day);
}

std::int64_t DaysFromKey(int dayKey) {
    return FromDate(YearOf(dayKey), MonthOf(dayKey), DayOf(dayKey));
}

int AddDays(int dayKey, int days) {
    return KeyFromDays(DaysFromKey(dayKey) + days);
}

} // namespace CivilDays
