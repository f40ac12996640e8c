#pragma once

#include "MessageQueue.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <string>

class CHeliowatchDoc;
class CInverterGroup;

// Stands in for the views: consumes the threads' messages on its own thread
// and prints one line per event, and a plant summary once a minute.
class HeadlessStation {
public:
    HeadlessStation(CHeliowatchDoc& document, MessageQueue& queue, std::FILE* out);

    // Runs until stop becomes true; eachRound after every round.
    void Run(const std::atomic<bool>& stop, const std::function<void()>& eachRound = {});
    // One round: the messages that arrived within timeout, then the ports.
    void Step(std::chrono::milliseconds timeout);
    void PrintPlantSummary();

private:
    struct KnownInverter {
        int comPort = 0;
        int address = 0;
        std::string serialNo;
        bool online = false;
        bool inFault = false;
    };

    void Handle(const QueuedMessage& message);
    void OnRegistered(std::uintptr_t inverter);
    void OnUpdated(std::uintptr_t inverter);
    void OnRemoved(std::uintptr_t inverter);
    // Reads the record's state if it is still in a group; false otherwise.
    bool Observe(std::uintptr_t inverter, KnownInverter& state) const;
    void CheckPorts();
    void Print(const KnownInverter& inverter, const char* event);

    CHeliowatchDoc& m_document;
    MessageQueue& m_queue;
    std::FILE* m_out;
    std::map<std::uintptr_t, KnownInverter> m_inverters;
    std::map<const CInverterGroup*, int> m_portOpen;
    std::time_t m_nextSummary = 0;
};
