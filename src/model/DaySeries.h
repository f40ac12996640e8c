#pragma once

#include "GraphSample.h"
#include "LocalDay.h"

#include <deque>

// One day of time-stamped samples of one quantity. A sample of another date
// empties the series first, so yesterday's curve stays until the first sample
// of today arrives.
// Not locked: an inverter's series is guarded by its group's lock.
class CDaySeries {
public:
    virtual ~CDaySeries() = default;

    void AddSample(const CGraphSample& sample);
    void RemoveAllSamples();
    double GetMaxValue() const; // the day maximum truncated toward zero

    // Samples are held by value in a deque: no per-sample heap object, no
    // reallocation copies as the day grows.
    std::deque<CGraphSample> m_samples;
    double m_dMaxValue = 0.0;

private:
    CLocalDay m_day;
};
