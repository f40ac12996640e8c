#include "LocalDay.h"

namespace {

std::time_t LocalMidnight(std::tm calendar, int daysLater) {
    calendar.tm_mday += daysLater;
    calendar.tm_hour = 0;
    calendar.tm_min = 0;
    calendar.tm_sec = 0;
    calendar.tm_isdst = -1;
    return std::mktime(&calendar);
}

long UtcOffsetAt(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    return local.tm_gmtoff;
}

} // namespace

int CLocalDay::Date(std::time_t time) {
    if (time < m_tStart || time >= m_tEnd) {
        std::tm local{};
        localtime_r(&time, &local);
        Remember(local);
    }
    return m_nDate;
}

// A day on which the clock is changed is not remembered: around the change the
// same time value range need not map onto one date.
void CLocalDay::Remember(const std::tm& local) {
    const std::time_t start = LocalMidnight(local, 0);
    const std::time_t end = LocalMidnight(local, 1);
    const bool steadyClock = start != -1 && end != -1 && start < end &&
                             UtcOffsetAt(start) == local.tm_gmtoff &&
                             UtcOffsetAt(end - 1) == local.tm_gmtoff;
    m_tStart = steadyClock ? start : 0;
    m_tEnd = steadyClock ? end : 0;
    m_nDate = (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}
