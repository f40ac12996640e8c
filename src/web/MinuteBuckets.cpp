#include "MinuteBuckets.h"

#include <algorithm>

namespace {
std::time_t MinuteOf(std::time_t time) {
    return time - (time % MINUTE_SECONDS + MINUTE_SECONDS) % MINUTE_SECONDS;
}
} // namespace

std::vector<DayPoint> MinutePoints(const CDaySeries& series, std::time_t since) {
    const std::vector<CTimeBucket>& buckets = series.Buckets();
    const std::int32_t from = CTimeBucket::IndexOf(MinuteOf(since));
    auto bucket = std::lower_bound(
        buckets.begin(), buckets.end(), from,
        [](const CTimeBucket& each, std::int32_t index) { return each.m_nIndex < index; });
    std::vector<DayPoint> points;
    points.reserve(static_cast<std::size_t>(buckets.end() - bucket) / 2 + 1);
    double sum = 0.0;
    double count = 0.0;
    for (; bucket != buckets.end(); ++bucket) {
        const std::time_t minute = MinuteOf(bucket->Start());
        if (points.empty() || points.back().time != minute) {
            points.push_back({minute, 0.0, bucket->m_fMin, bucket->m_fMax});
            sum = 0.0;
            count = 0.0;
        }
        DayPoint& point = points.back();
        sum += bucket->m_fSum;
        count += bucket->m_nCount;
        point.watts = count > 0 ? sum / count : 0.0;
        point.low = std::min<double>(point.low, bucket->m_fMin);
        point.high = std::max<double>(point.high, bucket->m_fMax);
    }
    return points;
}
