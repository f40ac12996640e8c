#include "DaySeries.h"

#include <algorithm>
#include <cmath>
#include <limits>

void CDaySeries::StartDayOf(std::time_t time) {
    const int date = m_day.Date(time);
    if (!Empty() && date != m_nDate) {
        RemoveAllSamples();
    }
    m_nDate = date;
}

void CDaySeries::AddSample(const CGraphSample& sample) {
    StartDayOf(sample.m_time);
    BucketFor(sample.m_time).Add(sample.m_time, sample.m_dValue);
    KeepRecent(sample);
    ++m_nSamples;
    m_dMaxValue = std::max(m_dMaxValue, sample.m_dValue);
}

// Samples come in time order; one that does not (the clock stepped back)
// joins its bucket wherever that stands.
CTimeBucket& CDaySeries::BucketFor(std::time_t time) {
    const std::int32_t index = CTimeBucket::IndexOf(time);
    if (m_buckets.empty()) {
        m_buckets.reserve(BUCKETS_PER_DAY);
    }
    if (m_buckets.empty() || m_buckets.back().m_nIndex < index) {
        m_buckets.emplace_back().m_nIndex = index;
        return m_buckets.back();
    }
    const auto at = std::lower_bound(
        m_buckets.begin(), m_buckets.end(), index,
        [](const CTimeBucket& bucket, std::int32_t value) { return bucket.m_nIndex < value; });
    if (at != m_buckets.end() && at->m_nIndex == index) {
        return *at;
    }
    const auto inserted = m_buckets.insert(at, CTimeBucket{});
    inserted->m_nIndex = index;
    return *inserted;
}

// Samples of the same second (the plant's, which every inverter moves) keep
// the last value: a chart cannot tell them apart.
void CDaySeries::KeepRecent(const CGraphSample& sample) {
    if (m_recent.empty() || m_recent.back().m_time < sample.m_time) {
        m_recent.push_back(sample);
    } else if (m_recent.back().m_time == sample.m_time) {
        m_recent.back().m_dValue = sample.m_dValue;
    } else {
        const auto at = std::upper_bound(
            m_recent.begin(), m_recent.end(), sample.m_time,
            [](std::time_t time, const CGraphSample& held) { return time < held.m_time; });
        m_recent.insert(at, sample);
    }
    TrimRecent();
}

// The stretch begins where a bucket does, so that the buckets before it and
// the samples of it draw every sample exactly once.
void CDaySeries::TrimRecent() {
    if (m_recent.empty()) {
        return;
    }
    const std::time_t newestBucket =
        std::time_t{CTimeBucket::IndexOf(m_recent.back().m_time)} * CTimeBucket::SECONDS;
    const std::time_t from = newestBucket - m_tDetailSeconds;
    while (m_recent.front().m_time < from) {
        m_recent.pop_front();
    }
}

std::int32_t CDaySeries::DetailFrom() const {
    return m_recent.empty() ? std::numeric_limits<std::int32_t>::max()
                            : CTimeBucket::IndexOf(m_recent.front().m_time);
}

void CDaySeries::AddBucket(const CTimeBucket& bucket) {
    if (bucket.m_nCount == 0) {
        return;
    }
    StartDayOf(bucket.Start());
    if (!m_buckets.empty() && m_buckets.back().m_nIndex >= bucket.m_nIndex) {
        return;
    }
    if (m_buckets.empty()) {
        m_buckets.reserve(BUCKETS_PER_DAY);
    }
    m_buckets.push_back(bucket);
    m_nSamples += bucket.m_nCount;
    m_dMaxValue = std::max<double>(m_dMaxValue, bucket.m_fMax);
}

void CDaySeries::Prepend(CDaySeries&& earlier) {
    if (earlier.Empty() || (!Empty() && earlier.m_nDate != m_nDate)) {
        return;
    }
    std::vector<CTimeBucket> buckets = std::move(earlier.m_buckets);
    auto later = m_buckets.begin();
    if (!buckets.empty() && later != m_buckets.end() &&
        buckets.back().m_nIndex == later->m_nIndex) {
        buckets.back().Append(*later++);
    }
    buckets.reserve(std::max(BUCKETS_PER_DAY, buckets.size() + (m_buckets.end() - later)));
    buckets.insert(buckets.end(), later, m_buckets.end());
    m_buckets = std::move(buckets);
    m_recent.insert(m_recent.begin(), earlier.m_recent.begin(), earlier.m_recent.end());
    TrimRecent();
    m_nSamples += earlier.m_nSamples;
    m_nDate = earlier.m_nDate;
    m_dMaxValue = std::max(m_dMaxValue, earlier.m_dMaxValue);
}

void CDaySeries::KeepBefore(std::time_t time) {
    const std::int32_t index = CTimeBucket::IndexOf(time);
    while (!m_buckets.empty() && m_buckets.back().m_nIndex >= index) {
        m_nSamples -= m_buckets.back().m_nCount;
        m_buckets.pop_back();
    }
    while (!m_recent.empty() && CTimeBucket::IndexOf(m_recent.back().m_time) >= index) {
        m_recent.pop_back();
    }
    m_dMaxValue = 0.0;
    for (const CTimeBucket& kept : m_buckets) {
        m_dMaxValue = std::max<double>(m_dMaxValue, kept.m_fMax);
    }
    if (m_buckets.empty()) {
        m_nDate = 0;
    }
}

void CDaySeries::RemoveAllSamples() {
    m_buckets.clear();
    m_buckets.shrink_to_fit();
    m_recent.clear();
    m_recent.shrink_to_fit();
    m_nSamples = 0;
    m_nDate = 0;
    m_dMaxValue = 0.0;
}

double CDaySeries::GetMaxValue() const {
    return std::trunc(m_dMaxValue);
}

std::optional<CGraphSample> CDaySeries::Latest() const {
    if (!m_recent.empty()) {
        return m_recent.back();
    }
    if (m_buckets.empty()) {
        return std::nullopt;
    }
    const CTimeBucket& last = m_buckets.back();
    return CGraphSample{last.Start() + last.m_nLastSecond, last.m_fLast};
}

std::time_t CDaySeries::FirstTime() const {
    return m_buckets.empty() ? 0 : m_buckets.front().Start() + m_buckets.front().m_nFirstSecond;
}
