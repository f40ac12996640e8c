#pragma once

#include "FrozenSimClock.h"
#include "InverterFactory.h"
#include "SimServer.h"
#include "TempDirectory.h"

#include <memory>
#include <string>
#include <vector>

// The simulator on a thread of its own with inverters on each of its buses,
// its time frozen at noon, so that a reading the test takes equals the one
// the station polled.
class FrozenPlant {
public:
    struct Bus {
        int port;
        sim::InverterKind kind;
        int count = 1;
    };

    explicit FrozenPlant(std::vector<Bus> buses);
    ~FrozenPlant();

    bool Start();
    sim::InverterReading Reading(int port, int position = 1);
    std::string Serial(int port, int position = 1) const {
        return m_factory.SerialFor(port, position);
    }
    // A control command of the simulator; its answer.
    std::string Execute(const std::string& command);
    const std::string& PortDirectory() const { return m_ports.Path(); }

private:
    TempDirectory m_ports;
    FrozenSimClock m_clock;
    sim::InverterFactory m_factory;
    std::vector<Bus> m_buses;
    std::unique_ptr<sim::SimServer> m_server;
};
