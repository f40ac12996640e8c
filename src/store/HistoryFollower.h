#pragma once

#include "comm/PollSink.h"
#include "model/GraphSample.h"

#include <vector>

// What keeps the station's history beyond the files. The document starts it
// once the data directory exists and stops it after the last thread ended,
// and hands it every sample once its history line is written.
class HistoryFollower : public PollSink {
public:
    struct PlantCurves {
        std::vector<CGraphSample> power;  // W
        std::vector<CGraphSample> energy; // kWh
    };

    virtual void Start() = 0;
    virtual void Stop() = 0;
    // Today's plant totals read back from the history files, sampled once per
    // sampling interval as the panes sample them.
    virtual PlantCurves TodayPlantCurves(int intervalSeconds) const = 0;
};
