#pragma once

#include <cstdint>

// Calendar arithmetic on dates of the proleptic Gregorian calendar, and local
// days named by their yyyymmdd key.
namespace CivilDays {

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// Days since 1970-01-01.
std::int64_t FromDate(int year, int month, int day);
int KeyFromDays(std::int64_t days);
std::int64_t DaysFromKey(int dayKey);
int AddDays(int dayKey, int days);

inline int Key(int year, int month, int day) {
    return year * 10000 + month * 100 + day;
}
inline int YearOf(int dayKey) {
    return dayKey / 10000;
}
inline int MonthOf(int dayKey) {
    return dayKey / 100 % 100;
}
inline int DayOf(int dayKey) {
    return dayKey % 100;
}

} // namespace CivilDays
