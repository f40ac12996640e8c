#pragma once

#include "SummaryRows.h"

#include <limits>
#include <vector>

// Turns the samples of one history file, in file order, into day and bucket
// rows. The energy comes from the inverter's E-today counter: it has ten times
// the resolution of E-total, restarts with the inverter's day, and is what the
// inverter itself shows. A counter that goes down has restarted (a new day, an
// inverter restart, another unit under the same serial number) and counts from
// zero again. On the first sample of a new local day, E-total tells whether
// E-today restarted in between or still carries yesterday's count: a counter
// that rose by no more than E-total did since the last sample restarted.
// Half-minute spans, for the curves of today, are kept of the samples from
// spansFrom on only.
class SummaryAccumulator {
public:
    explicit SummaryAccumulator(const SourceState& state, std::time_t spansFrom = NO_SPANS)
        : m_state(state), m_tSpansFrom(spansFrom) {}

    static constexpr std::time_t NO_SPANS = std::numeric_limits<std::time_t>::max();

    void Add(const SummarySample& sample);
    const SourceState& State() const { return m_state; }
    // The rows gathered since the last call, in sample order.
    std::vector<DayRow> TakeDays();
    std::vector<BucketRow> TakeBuckets();
    std::vector<SpanRow> TakeSpans();

private:
    std::int64_t EnergyIncrement(const SummarySample& sample) const;
    DayRow& DayOf(const SummarySample& sample);
    BucketRow& BucketOf(const SummarySample& sample);
    void AddToSpan(const SummarySample& sample);

    SourceState m_state;
    std::time_t m_tSpansFrom;
    std::vector<DayRow> m_days;
    std::vector<BucketRow> m_buckets;
    std::vector<SpanRow> m_spans;
};

// The lifetime counter's step: a rise this small says nothing.
inline constexpr std::int64_t E_TOTAL_STEP_WH = 100;
