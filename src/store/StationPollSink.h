#pragma once

#include "comm/PollSink.h"

// What the station does with every decoded sample: fault tracking first, then
// the history line, by the inverter's phase type.
class StationPollSink : public PollSink {
public:
    void OnSampleDecoded(CInverter& inverter) override;

    // Told of every sample once its history line is written; may be null.
    void SetHistoryFollower(PollSink* follower) { m_historyFollower = follower; }

private:
    PollSink* m_historyFollower = nullptr;
};
