#include "LocalDay.h"

namespace {

constexpr std::time_t SECONDS_PER_DAY = 86'400;

long UtcOffsetAt(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    return local.tm_gmtoff;
}

// The first time value after from, up to limit, whose offset differs from
// from's; limit when there is none. One clock change at most lies in a day.
std::time_t NextOffsetChange(std::time_t from, std::time_t limit, long offset) {
    if (UtcOffsetAt(limit - 1) == offset) {
        return limit;
    }
    std::time_t same = from;
    std::time_t changed = limit - 1;
    while (changed - same > 1) {
        const std::time_t middle = same + (changed - same) / 2;
        (UtcOffsetAt(middle) == offset ? same : changed) = middle;
    }
    return changed;
}

} // namespace

int CLocalDay::Date(std::time_t time) {
    Look(time);
    return m_nDate;
}

int CLocalDay::SecondOfDay(std::time_t time) {
    Look(time);
    return static_cast<int>(time - m_tMidnight);
}

void CLocalDay::Look(std::time_t time) {
    if (time >= m_tStart && time < m_tEnd) {
        return;
    }
    std::tm local{};
    localtime_r(&time, &local);
    const int second = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    m_tMidnight = time - second;
    m_tStart = UtcOffsetAt(m_tMidnight) == local.tm_gmtoff ? m_tMidnight : time;
    m_tEnd = NextOffsetChange(time, m_tMidnight + SECONDS_PER_DAY, local.tm_gmtoff);
    m_nDate = (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}
