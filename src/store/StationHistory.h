#pragma once

#include "SummaryKeeper.h"
#include "TodayHistory.h"
#include "comm/PollSink.h"

// What the station keeps of its history beyond the files: today's samples
// read back at start-up, which refill an inverter's empty day curve at its
// first sample and the plant's panes when they open, and the summary kept
// up to date as the history files grow.
class StationHistory : public PollSink {
public:
    explicit StationHistory(std::chrono::milliseconds batchPeriod = std::chrono::seconds(5))
        : m_keeper(batchPeriod) {}

    // Reads today's samples and starts the summary's writer thread.
    void Start();
    void Stop() { m_keeper.Stop(); }

    // Called after the sample's history line was written.
    void OnSampleDecoded(CInverter& inverter) override;
    TodayHistory::PlantCurves TodayPlantCurves(int intervalSeconds) const {
        return m_today.Plant(intervalSeconds);
    }
    SummaryKeeper& Keeper() { return m_keeper; }

private:
    void RefillDayCurve(CInverter& inverter, const std::string& historyFileName);

    TodayHistory m_today;
    SummaryKeeper m_keeper;
};
