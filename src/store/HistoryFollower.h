#pragma once

#include "comm/PollSink.h"

class PlantDayCurves;

// What keeps the station's history beyond the files. The document starts it
// once the data directory exists and stops it after the last thread ended,
// and hands it every sample once its history line is written.
class HistoryFollower : public PollSink {
public:
    // Reads the day so far back into the plant's curves, and each inverter's
    // into its own once it reports, beside the polling.
    virtual void Start(PlantDayCurves& plantCurves) = 0;
    virtual void Stop() = 0;
};
