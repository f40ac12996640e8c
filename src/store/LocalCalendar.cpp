#include "LocalCalendar.h"

#include <algorithm>

namespace {
constexpr std::time_t SECONDS_PER_DAY = 86'400;

std::time_t LocalMidnight(int dayKey) {
    std::tm calendar{};
    calendar.tm_year = CivilDays::YearOf(dayKey) - 1900;
    calendar.tm_mon = CivilDays::MonthOf(dayKey) - 1;
    calendar.tm_mday = CivilDays::DayOf(dayKey);
    calendar.tm_isdst = -1;
    return std::mktime(&calendar);
}

int SecondOfDay(const CivilTime& local) {
    return local.hour * 3600 + local.minute * 60 + local.second;
}
} // namespace

long LocalCalendar::UtcOffset(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    return local.tm_gmtoff;
}

void LocalCalendar::Load(int dayKey) {
    m_key = dayKey;
    m_day = {LocalMidnight(dayKey), LocalMidnight(CivilDays::AddDays(dayKey, 1))};
    m_offsetAtStart = UtcOffset(m_day.start);
    m_offsetAtEnd = UtcOffset(m_day.end - 1);
    m_steady = m_day.end - m_day.start == SECONDS_PER_DAY && m_offsetAtStart == m_offsetAtEnd;
}

LocalCalendar::Day LocalCalendar::Bounds(int dayKey) {
    if (dayKey != m_key) {
        Load(dayKey);
    }
    return m_day;
}

int LocalCalendar::DayKeyOf(std::time_t time) {
    if (m_key != 0 && time >= m_day.start && time < m_day.end) {
        return m_key;
    }
    std::tm local{};
    localtime_r(&time, &local);
    const int key = CivilDays::Key(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    Load(key);
    return key;
}

std::time_t LocalCalendar::ToUtc(const CivilTime& local, std::time_t notBefore) {
    if (local.DayKey() != m_key) {
        Load(local.DayKey());
    }
    if (m_steady) {
        return m_day.start + SecondOfDay(local);
    }
    return Ambiguous(local, notBefore);
}

// The reading is valid at an offset when the clock shows that offset then.
std::time_t LocalCalendar::Ambiguous(const CivilTime& local, std::time_t notBefore) const {
    const std::time_t wall =
        CivilDays::FromDate(local.year, local.month, local.day) * SECONDS_PER_DAY +
        SecondOfDay(local);
    const std::time_t before = wall - m_offsetAtStart;
    const std::time_t after = wall - m_offsetAtEnd;
    const bool beforeValid = UtcOffset(before) == m_offsetAtStart;
    const bool afterValid = UtcOffset(after) == m_offsetAtEnd;
    if (beforeValid && afterValid && before != after) {
        const std::time_t earlier = std::min(before, after);
        const std::time_t later = std::max(before, after);
        return earlier >= notBefore ? earlier : later;
    }
    if (afterValid && !beforeValid) {
        return after;
    }
    return before;
}
