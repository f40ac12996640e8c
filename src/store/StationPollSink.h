#pragma once

#include "comm/PollSink.h"

#include <atomic>

class PlantDayCurves;

// What the station does with every decoded sample: fault tracking first, then
// the history line, by the inverter's phase type, then the plant's curves.
class StationPollSink : public PollSink {
public:
    void OnSampleDecoded(CInverter& inverter) override;

    // Moved by every sample once its faults are known; may be null.
    void SetPlantCurves(PlantDayCurves* curves) { m_plantCurves = curves; }
    // Told of every sample once its history line is written; may be null.
    void SetHistoryFollower(PollSink* follower) { m_historyFollower = follower; }
    // Hears of every sample after the station's own handling; may be set or
    // cleared while the threads run.
    void Chain(PollSink* next) { m_next = next; }

private:
    PlantDayCurves* m_plantCurves = nullptr;
    PollSink* m_historyFollower = nullptr;
    std::atomic<PollSink*> m_next{nullptr};
};
