#pragma once

#include "model/GraphSample.h"
#include "store/HistoryFollower.h"

#include <ctime>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// The samples of one local day read back from the history files, so the day's
// curves survive a restart of the station.
class TodayHistory {
public:
    struct Point {
        std::time_t time = 0;
        double powerW = 0.0;
        double eTodayKWh = 0.0;
    };
    using PlantCurves = HistoryFollower::PlantCurves;

    // Reads the samples of the local day of `now` from the end of every
    // history file of the directory.
    void Load(const std::string& histLogDirectory, std::time_t now);

    // The power samples of one history file, when `time` falls on the day
    // that was read.
    std::vector<CGraphSample> InverterCurve(const std::string& historyFileName,
                                            std::time_t time) const;
    // The plant's totals as the panes sample them once per sampling
    // interval: the power of every inverter heard from within the time the
    // station takes to call it offline, and the energy of the day of every
    // inverter heard from today.
    PlantCurves Plant(int intervalSeconds) const;

private:
    mutable std::mutex m_lock;
    int m_dayKey = 0;
    std::map<std::string, std::vector<Point>> m_files;
};

// The samples of `dayKey` at the end of one history file, in file order.
std::vector<TodayHistory::Point> ReadDayFromEnd(const std::string& path, int dayKey);
