#include "SummaryAccumulator.h"

#include <algorithm>
#include <utility>

namespace {
std::time_t FloorDiv(std::time_t value, std::time_t divisor) {
    return value / divisor - (value % divisor < 0 ? 1 : 0);
}

std::time_t BucketStart(std::time_t time) {
    return FloorDiv(time, BUCKET_SECONDS) * BUCKET_SECONDS;
}

std::time_t MinuteOf(std::time_t time) {
    return FloorDiv(time, 60);
}
} // namespace

std::int64_t SummaryAccumulator::EnergyIncrement(const SummarySample& sample) const {
    if (!m_state.any || sample.eTodayWh < m_state.eTodayWh) {
        return sample.eTodayWh;
    }
    if (sample.dayKey == m_state.lastDay) {
        return sample.eTodayWh - m_state.eTodayWh;
    }
    const std::int64_t produced = sample.eTotalWh - m_state.eTotalWh;
    if (produced < 0 || sample.eTodayWh <= produced + E_TOTAL_STEP_WH) {
        return sample.eTodayWh;
    }
    return sample.eTodayWh - m_state.eTodayWh;
}

DayRow& SummaryAccumulator::DayOf(const SummarySample& sample) {
    if (m_days.empty() || m_days.back().day != sample.dayKey) {
        DayRow row;
        row.day = sample.dayKey;
        row.peakW = sample.powerW;
        row.peakTime = sample.time;
        row.firstTime = sample.time;
        row.lastTime = sample.time;
        row.tempMin = sample.tempTenths;
        row.tempMax = sample.tempTenths;
        m_days.push_back(row);
    }
    return m_days.back();
}

BucketRow& SummaryAccumulator::BucketOf(const SummarySample& sample) {
    const std::time_t start = BucketStart(sample.time);
    if (m_buckets.empty() || m_buckets.back().start != start) {
        BucketRow row;
        row.start = start;
        row.powerMax = sample.powerW;
        m_buckets.push_back(row);
    }
    return m_buckets.back();
}

void SummaryAccumulator::Add(const SummarySample& sample) {
    const std::int64_t energy = EnergyIncrement(sample);
    const bool newMinute = !m_state.any || MinuteOf(sample.time) != MinuteOf(m_state.lastTime);

    DayRow& day = DayOf(sample);
    day.energyWh += energy;
    if (sample.powerW > day.peakW) {
        day.peakW = sample.powerW;
        day.peakTime = sample.time;
    }
    day.firstTime = std::min(day.firstTime, sample.time);
    day.lastTime = std::max(day.lastTime, sample.time);
    ++day.samples;
    day.minutes += newMinute ? 1 : 0;
    day.tempMin = std::min(day.tempMin, sample.tempTenths);
    day.tempMax = std::max(day.tempMax, sample.tempTenths);

    BucketRow& bucket = BucketOf(sample);
    ++bucket.samples;
    bucket.powerSum += sample.powerW;
    bucket.powerMax = std::max(bucket.powerMax, sample.powerW);
    bucket.energyWh += energy;

    AddToSpan(sample);
    m_state = {true, sample.time, sample.dayKey, sample.eTodayWh, sample.eTotalWh};
}

void SummaryAccumulator::AddToSpan(const SummarySample& sample) {
    if (sample.time < m_tSpansFrom) {
        return;
    }
    const auto watts = static_cast<double>(sample.powerW);
    if (m_spans.empty() || m_spans.back().power.m_nIndex != CTimeBucket::IndexOf(sample.time)) {
        m_spans.push_back({CTimeBucket::Of(sample.time, watts), sample.eTodayWh});
        return;
    }
    SpanRow& row = m_spans.back();
    const bool latest = sample.time >= row.power.Start() + row.power.m_nLastSecond;
    row.power.Add(sample.time, watts);
    row.eTodayWh = latest ? sample.eTodayWh : row.eTodayWh;
}

std::vector<DayRow> SummaryAccumulator::TakeDays() {
    return std::exchange(m_days, {});
}

std::vector<BucketRow> SummaryAccumulator::TakeBuckets() {
    return std::exchange(m_buckets, {});
}

std::vector<SpanRow> SummaryAccumulator::TakeSpans() {
    return std::exchange(m_spans, {});
}
