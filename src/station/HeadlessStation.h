#pragma once

#include "MessageQueue.h"
#include "store/StationWatch.h"

#include <atomic>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>

class CHeliowatchDoc;
class Publisher;

// Stands in for the views: consumes the threads' messages on its own thread
// and prints one line per event, and a plant summary once a minute.
class HeadlessStation : public StationObserver {
public:
    HeadlessStation(CHeliowatchDoc& document, MessageQueue& queue, std::FILE* out);

    // Runs until stop becomes true; eachRound after every round.
    void Run(const std::atomic<bool>& stop, const std::function<void()>& eachRound = {});
    // The publisher hears every event and the plant totals too; its broker
    // connections made and lost are printed.
    void Publish(Publisher& publisher);
    // Another observer of every event and the plant totals.
    void AddObserver(StationObserver& observer) { m_watch.AddObserver(&observer); }
    // One round: the messages that arrived within timeout, then the ports.
    void Step(std::chrono::milliseconds timeout);
    void PrintPlantSummary();

    void OnStationEvent(const StationEvent& event) override;
    void OnPlantTotals(const PlantTotals&) override {}

private:
    void PrintBrokerChanges();
    void PrintLine(const std::string& line);

    CHeliowatchDoc& m_document;
    MessageQueue& m_queue;
    std::FILE* m_out;
    StationWatch m_watch;
    Publisher* m_publisher = nullptr;
    std::time_t m_nextSummary = 0;
};
