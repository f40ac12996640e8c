#pragma once

#include "comm/PollSink.h"

#include <atomic>

// Counts the polls whose reply was decoded, on any inverter of the port.
class DecodeCounter : public PollSink {
public:
    void OnSampleDecoded(CInverter&) override { ++m_count; }
    int Count() const { return m_count.load(); }

private:
    std::atomic<int> m_count{0};
};
