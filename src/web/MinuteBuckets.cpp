#include "MinuteBuckets.h"

#include <algorithm>

std::vector<DayPoint> MinutePoints(const std::vector<CGraphSample>& samples) {
    std::vector<DayPoint> points;
    int count = 0;
    for (const CGraphSample& sample : samples) {
        const std::time_t minute = sample.m_time - sample.m_time % MINUTE_SECONDS;
        if (points.empty() || points.back().time != minute) {
            if (count > 0) {
                points.back().watts /= count;
            }
            points.push_back({minute, 0.0, sample.m_dValue, sample.m_dValue});
            count = 0;
        }
        DayPoint& point = points.back();
        point.watts += sample.m_dValue;
        point.low = std::min(point.low, sample.m_dValue);
        point.high = std::max(point.high, sample.m_dValue);
        ++count;
    }
    if (count > 0) {
        points.back().watts /= count;
    }
    return points;
}
