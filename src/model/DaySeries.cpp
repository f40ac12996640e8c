#include "DaySeries.h"

#include <cmath>

namespace {
int DayOfMonth(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    return local.tm_mday;
}
} // namespace

void CDaySeries::AddSample(const CGraphSample& sample) {
    // Only the day of the month is compared: the first sample of a new day
    // ends the previous one, whatever month it is.
    if (!m_samples.empty() && DayOfMonth(sample.m_time) != DayOfMonth(m_samples.back().m_time)) {
        RemoveAllSamples();
    }
    m_samples.push_back(sample);
    if (sample.m_dValue > m_dMaxValue) {
        m_dMaxValue = sample.m_dValue;
    }
}

void CDaySeries::RemoveAllSamples() {
    m_samples.clear();
    m_samples.shrink_to_fit();
    m_dMaxValue = 0.0;
}

double CDaySeries::GetMaxValue() const {
    return std::trunc(m_dMaxValue);
}
