#pragma once

#include "comm/PollSink.h"

#include <atomic>

// What the station does with every decoded sample: fault tracking first, then
// the history line, by the inverter's phase type.
class StationPollSink : public PollSink {
public:
    void OnSampleDecoded(CInverter& inverter) override;
    // Hears of every sample after the station's own handling; may be set or
    // cleared while the threads run.
    void Chain(PollSink* next) { m_next = next; }

private:
    std::atomic<PollSink*> m_next{nullptr};
};
