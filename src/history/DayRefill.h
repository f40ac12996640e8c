#pragma once

#include "model/DaySeries.h"

#include <atomic>
#include <condition_variable>
#include <ctime>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class PlantDayCurves;
class SummaryKeeper;
struct PastSources;

// Reads the day so far back after a start, on a thread of its own beside the
// polling: first the plant's curves, then each inverter's, as it first
// reports. The summary's spans serve where it holds the day; the history
// files give the rest, read from their ends. What was read is handed over
// and not kept.
class DayRefill {
public:
    // Runs first on the refill's thread: a test holds the refill back with it.
    using Gate = std::function<void()>;

    explicit DayRefill(SummaryKeeper& keeper) : m_keeper(keeper) {}
    ~DayRefill();
    DayRefill(const DayRefill&) = delete;
    DayRefill& operator=(const DayRefill&) = delete;

    void SetGate(Gate gate) { m_gate = std::move(gate); }
    // The plant's curves wait for their past from now on.
    void Start(PlantDayCurves& plantCurves);
    void Stop();
    // On a communication thread: the day of a history file before a moment.
    void Ask(const std::string& historyFileName, std::time_t before);
    // What was read back for the file, once; nothing until it is ready.
    std::optional<CDaySeries> Take(const std::string& historyFileName);

private:
    struct Request {
        std::string historyFileName;
        std::time_t before = 0;
    };

    void Run(PlantDayCurves& plantCurves);
    void RefillPlant(PlantDayCurves& plantCurves, const PastSources& sources) const;
    bool NextRequest(Request& request);
    bool Stopping();

    SummaryKeeper& m_keeper;
    Gate m_gate;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Request> m_requests;
    std::map<std::string, CDaySeries> m_ready;
    std::atomic<std::size_t> m_nReady{0};
    bool m_stop = false;
    std::thread m_thread;
};
