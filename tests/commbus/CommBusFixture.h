#pragma once

#include "BusStation.h"
#include "SimulatedPlant.h"
#include "WaitUntil.h"

#include <chrono>
#include <gtest/gtest.h>
#include <memory>

// A simulated bus and the station's communication thread on it, in real time
// and over a pseudo-terminal, polling every second.
class CommBusFixture : public ::testing::Test {
protected:
    // COM1 is avoided: without its link the port falls back to /dev/ttyS0,
    // which exists on many machines.
    static constexpr int PORT = 5;

    void SetUp() override;
    void TearDown() override;

    void StartBus(int inverters, bool wireTime = false);
    // True once the group has count records, each described and polled.
    bool AwaitPolledRecords(std::size_t count, std::chrono::milliseconds timeout);
    // True once a poll decoded after this call.
    bool AwaitNextDecodedPoll(std::chrono::milliseconds timeout);
    // Each record, in list order, holds what the inverter at that position
    // sent, has its address and is online.
    void ExpectRecordsAsSimulated(const std::vector<InverterSnapshot>& records) const;

    std::unique_ptr<SimulatedPlant> plant;
    std::unique_ptr<BusStation> station;
};
