#pragma once

#include "SummaryKeeper.h"
#include "TodayHistory.h"
#include "store/HistoryFollower.h"

// What the station keeps of its history beyond the files: today's samples
// read back at start-up, which refill an inverter's empty day curve at its
// first sample and the plant's panes when they open, and the summary kept
// up to date as the history files grow.
class StationHistory : public HistoryFollower {
public:
    explicit StationHistory(std::chrono::milliseconds batchPeriod = std::chrono::seconds(5))
        : m_keeper(batchPeriod) {}

    // Reads today's samples and starts the summary's writer thread.
    void Start() override;
    void Stop() override { m_keeper.Stop(); }

    // Called after the sample's history line was written.
    void OnSampleDecoded(CInverter& inverter) override;
    PlantCurves TodayPlantCurves(int intervalSeconds) const override {
        return m_today.Plant(intervalSeconds);
    }
    SummaryKeeper& Keeper() { return m_keeper; }

private:
    void RefillDayCurve(CInverter& inverter, const std::string& historyFileName);

    TodayHistory m_today;
    SummaryKeeper m_keeper;
};
