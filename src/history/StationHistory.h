#pragma once

#include "DayRefill.h"
#include "SummaryKeeper.h"
#include "store/HistoryFollower.h"

// What the station keeps of its history beyond the files: the summary, kept
// up to date as the history files grow, and the day so far read back after a
// start into the plant's curves and into each inverter's at its first sample.
class StationHistory : public HistoryFollower {
public:
    explicit StationHistory(std::chrono::milliseconds batchPeriod = std::chrono::seconds(5))
        : m_keeper(batchPeriod), m_refill(m_keeper) {}

    // Starts the summary's writer thread and the refill beside it.
    void Start(PlantDayCurves& plantCurves) override;
    void Stop() override;

    // Called after the sample's history line was written.
    void OnSampleDecoded(CInverter& inverter) override;
    SummaryKeeper& Keeper() { return m_keeper; }
    DayRefill& Refill() { return m_refill; }

private:
    SummaryKeeper m_keeper;
    DayRefill m_refill;
    PlantDayCurves* m_plantCurves = nullptr; // set by Start, before any sample
};
