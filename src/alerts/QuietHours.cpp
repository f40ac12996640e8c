#include "QuietHours.h"

namespace {
// The moment of a local wall-clock minute on the day of base, days later.
std::time_t AtMinute(std::time_t base, int days, int minute) {
    std::tm local{};
    localtime_r(&base, &local);
    local.tm_mday += days;
    local.tm_hour = minute / 60;
    local.tm_min = minute % 60;
    local.tm_sec = 0;
    local.tm_isdst = -1;
    return std::mktime(&local);
}
} // namespace

QuietHours::QuietHours(std::optional<int> fromMinute, std::optional<int> toMinute)
    : m_from(fromMinute), m_to(toMinute) {}

std::time_t QuietHours::Release(std::time_t moment) const {
    if (!m_from || !m_to || *m_from == *m_to) {
        return moment;
    }
    std::tm local{};
    localtime_r(&moment, &local);
    const int minute = local.tm_hour * 60 + local.tm_min;
    const bool overnight = *m_from > *m_to;
    const bool quiet =
        overnight ? minute >= *m_from || minute < *m_to : minute >= *m_from && minute < *m_to;
    if (!quiet) {
        return moment;
    }
    const bool endsTomorrow = overnight && minute >= *m_from;
    return AtMinute(moment, endsTomorrow ? 1 : 0, *m_to);
}
