#pragma once

#include "GraphSample.h"
#include "LocalDay.h"
#include "TimeBucket.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

// One day of time-stamped samples of one quantity, in bounded memory: every
// sample of the most recent stretch (the last hour), and each half minute of
// the day as its mean and the shape of its curve, so that a chart drawn of it
// looks as one drawn of every sample. A sample of another date empties the
// series first, so yesterday's curve stays until the first sample of today
// arrives.
// Not locked: an inverter's series is guarded by its group's lock.
class CDaySeries {
public:
    static constexpr std::time_t DETAIL_SECONDS = 3600;
    // Of the longest local day, with its clock change.
    static constexpr std::size_t BUCKETS_PER_DAY = 25 * 3600 / CTimeBucket::SECONDS;

    explicit CDaySeries(std::time_t detailSeconds = DETAIL_SECONDS)
        : m_tDetailSeconds(detailSeconds) {}
    virtual ~CDaySeries() = default;

    void AddSample(const CGraphSample& sample);
    // A bucket read back from somewhere else, later than every sample held;
    // one of another date empties the series first, as a sample does.
    void AddBucket(const CTimeBucket& bucket);
    // Puts in front the samples of the same date taken before every one held
    // here; a series of another date changes nothing.
    void Prepend(CDaySeries&& earlier);
    // Leaves out every bucket from the one holding time on.
    void KeepBefore(std::time_t time);
    void RemoveAllSamples();
    double GetMaxValue() const; // the day maximum truncated toward zero

    bool Empty() const { return m_buckets.empty(); }
    std::size_t SampleCount() const { return m_nSamples; }
    std::optional<CGraphSample> Latest() const;
    // Of the earliest sample; 0 when empty.
    std::time_t FirstTime() const;
    // Local date of the samples as year * 10000 + month * 100 + day; 0 when empty.
    int Date() const { return m_nDate; }
    const std::vector<CTimeBucket>& Buckets() const { return m_buckets; }
    const std::deque<CGraphSample>& Recent() const { return m_recent; }
    // What a chart draws: each bucket's shape before the recent stretch,
    // then every sample of it.
    template <class Visit>
    void ForEachVertex(Visit&& visit) const;

    double m_dMaxValue = 0.0;

private:
    // Empties the series first when time falls on another date.
    void StartDayOf(std::time_t time);
    CTimeBucket& BucketFor(std::time_t time);
    void KeepRecent(const CGraphSample& sample);
    void TrimRecent();
    std::int32_t DetailFrom() const;

    std::time_t m_tDetailSeconds;
    std::vector<CTimeBucket> m_buckets; // in time order
    std::deque<CGraphSample> m_recent;  // from a bucket's start on, one a second
    std::size_t m_nSamples = 0;
    int m_nDate = 0;
    CLocalDay m_day;
};

template <class Visit>
void CDaySeries::ForEachVertex(Visit&& visit) const {
    const std::int32_t detailFrom = DetailFrom();
    for (const CTimeBucket& bucket : m_buckets) {
        if (bucket.m_nIndex >= detailFrom) {
            break;
        }
        bucket.ForEachVertex(visit);
    }
    for (const CGraphSample& sample : m_recent) {
        visit(CCurveVertex{sample.m_time, sample.m_dValue, -1});
    }
}
