#include "PlantPast.h"

#include <algorithm>

namespace {
constexpr double WH_PER_KWH = 1000.0;
} // namespace

PlantPast::PlantPast(std::time_t dayStart, std::time_t until, std::time_t staleSeconds)
    : m_tDayStart(dayStart), m_tStale(staleSeconds) {
    const auto spans = std::clamp<std::int64_t>(
        IndexOf(until) + 1, 0, static_cast<std::int64_t>(CDaySeries::BUCKETS_PER_DAY));
    m_spans.resize(static_cast<std::size_t>(spans));
}

std::int64_t PlantPast::IndexOf(std::time_t time) const {
    return (time - m_tDayStart) / CTimeBucket::SECONDS;
}

void PlantPast::Add(std::int64_t source, const SpanRow& row) {
    if (source != m_source.id) {
        Finish();
        m_source = Source{source};
    }
    const std::int64_t index = IndexOf(row.power.Start());
    if (index < 0 || index >= static_cast<std::int64_t>(m_spans.size()) ||
        index <= m_source.lastIndex) {
        return;
    }
    CarryUntil(index);
    const CTimeBucket& power = row.power;
    Span& span = m_spans[static_cast<std::size_t>(index)];
    span.reported = true;
    span.mean += power.Mean();
    span.min += power.m_fMin;
    span.max += power.m_fMax;
    span.first += power.m_fFirst;
    span.last += power.m_fLast;
    span.firstSecond = std::min<int>(span.firstSecond, power.m_nFirstSecond);
    span.lastSecond = std::max<int>(span.lastSecond, power.m_nLastSecond);
    span.longestStep = std::max<int>(span.longestStep, power.m_nLongestStep);
    span.energyWh += static_cast<double>(row.eTodayWh);
    m_source.lastIndex = index;
    m_source.lastTime = power.Start() + power.m_nLastSecond;
    m_source.lastW = power.m_fLast;
    m_source.eTodayWh = row.eTodayWh;
}

// Between its rows, and after its last, an inverter counts with its last
// reading for as long as that stays fresh, and with its energy for the rest
// of the day.
void PlantPast::CarryUntil(std::int64_t index) {
    if (m_source.lastIndex < 0) {
        return;
    }
    for (std::int64_t carried = m_source.lastIndex + 1; carried < index; ++carried) {
        Span& span = m_spans[static_cast<std::size_t>(carried)];
        span.energyWh += static_cast<double>(m_source.eTodayWh);
        const std::time_t start = m_tDayStart + carried * CTimeBucket::SECONDS;
        if (start - m_source.lastTime <= m_tStale) {
            span.mean += m_source.lastW;
            span.min += m_source.lastW;
            span.max += m_source.lastW;
            span.first += m_source.lastW;
            span.last += m_source.lastW;
        }
    }
}

void PlantPast::Finish() {
    if (m_source.id < 0) {
        return;
    }
    CarryUntil(static_cast<std::int64_t>(m_spans.size()));
    if (m_source.lastIndex >= 0) {
        m_reached.emplace_back(m_source.id, static_cast<double>(m_source.eTodayWh) / WH_PER_KWH);
    }
    m_source = Source{};
}

// The sums of each inverter's extremes stand where the curve heads: their
// own seconds do not add up.
CTimeBucket PlantPast::BucketAt(std::size_t index, double first, double last) const {
    const Span& span = m_spans[index];
    CTimeBucket bucket;
    bucket.m_nIndex = CTimeBucket::IndexOf(m_tDayStart) + static_cast<std::int32_t>(index);
    bucket.m_nCount = 1;
    bucket.m_fFirst = static_cast<float>(first);
    bucket.m_fLast = static_cast<float>(last);
    bucket.m_nFirstSecond = static_cast<std::uint8_t>(span.firstSecond);
    bucket.m_nLastSecond = static_cast<std::uint8_t>(span.lastSecond);
    const bool rising = last >= first;
    bucket.m_nMinSecond = rising ? bucket.m_nFirstSecond : bucket.m_nLastSecond;
    bucket.m_nMaxSecond = rising ? bucket.m_nLastSecond : bucket.m_nFirstSecond;
    bucket.m_nLongestStep = static_cast<std::uint8_t>(span.longestStep);
    bucket.m_fBeforeJump = bucket.m_fFirst;
    bucket.m_fAfterJump = bucket.m_fLast;
    bucket.m_nJumpFromSecond = bucket.m_nFirstSecond;
    bucket.m_nJumpToSecond = bucket.m_nLastSecond;
    return bucket;
}

CDaySeries PlantPast::Power() const {
    CDaySeries series;
    for (std::size_t index = 0; index < m_spans.size(); ++index) {
        const Span& span = m_spans[index];
        if (!span.reported) {
            continue;
        }
        CTimeBucket bucket = BucketAt(index, span.first, span.last);
        bucket.m_fSum = static_cast<float>(span.mean);
        bucket.m_fMin = static_cast<float>(span.min);
        bucket.m_fMax = static_cast<float>(span.max);
        series.AddBucket(bucket);
    }
    return series;
}

// Each span's energy runs from where the span before ended.
CDaySeries PlantPast::Energy() const {
    CDaySeries series;
    double before = -1.0;
    for (std::size_t index = 0; index < m_spans.size(); ++index) {
        const Span& span = m_spans[index];
        const double kWh = span.energyWh / WH_PER_KWH;
        if (!span.reported) {
            before = -1.0;
            continue;
        }
        const double first = before >= 0.0 ? before : kWh;
        CTimeBucket bucket = BucketAt(index, first, kWh);
        bucket.m_fSum = static_cast<float>(kWh);
        bucket.m_fMin = static_cast<float>(std::min(first, kWh));
        bucket.m_fMax = static_cast<float>(std::max(first, kWh));
        series.AddBucket(bucket);
        before = kWh;
    }
    return series;
}
