#pragma once

#include "MessageQueue.h"
#include "platform/Log.h"
#include "store/StationWatch.h"

#include <atomic>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>

class CHeliowatchDoc;
class Publisher;

// Stands in for the views: consumes the threads' messages on its own thread
// and prints one line per event, and a plant summary once a minute. The lines
// stay on their own stream for people and scripts that follow it; under
// systemd each carries its priority, so a fault or a lost broker is a warning
// in the journal like any other.
class HeadlessStation : public StationObserver {
public:
    HeadlessStation(CHeliowatchDoc& document, MessageQueue& queue, std::FILE* out);

    // Runs until stop becomes true; eachRound after every round.
    void Run(const std::atomic<bool>& stop, const std::function<void()>& eachRound = {});
    // The publisher hears every event and the plant totals too, and may ask
    // the ports to reconnect; its broker connections made and lost are
    // printed.
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
    void PrintLine(const std::string& line, LogLevel level);

    CHeliowatchDoc& m_document;
    MessageQueue& m_queue;
    std::FILE* m_out;
    StationWatch m_watch;
    Publisher* m_publisher = nullptr;
    std::time_t m_nextSummary = 0;
};
