#include "DaySeries.h"

#include <cmath>

void CDaySeries::AddSample(const CGraphSample& sample) {
    if (!m_samples.empty() && m_day.Date(m_samples.back().m_time) != m_day.Date(sample.m_time)) {
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
