#pragma once

#include "FrozenSimClock.h"
#include "InverterFactory.h"
#include "SimServer.h"
#include "SimUnit.h"
#include "TempDirectory.h"

#include <memory>
#include <string>

// The simulator on a thread of its own: one bus of single-phase inverters
// linked into a private port directory, its time frozen at local noon.
// Replies leave at once unless the plant keeps wire time.
class SimulatedPlant {
public:
    SimulatedPlant(int port, int inverters, bool wireTime = false);
    ~SimulatedPlant();
    SimulatedPlant(const SimulatedPlant&) = delete;
    SimulatedPlant& operator=(const SimulatedPlant&) = delete;

    // A fresh simulator each time: every inverter starts without an address.
    bool Start();
    // Closes the pty and removes its link.
    void Stop();

    std::string Execute(const std::string& command);
    SimUnit Unit(int position) const; // positions from 1
    // A switched-off inverter hears nothing and answers nothing.
    bool SwitchOn(int position);
    bool SwitchOff(int position);

    const std::string& PortDirectory() const { return m_ports.Path(); }
    int Port() const { return m_port; }
    int InverterCount() const { return m_inverters; }

private:
    std::string Target(int position) const;

    TempDirectory m_ports;
    FrozenSimClock m_clock;
    sim::InverterFactory m_factory;
    int m_port;
    int m_inverters;
    bool m_bWireTime;
    std::unique_ptr<sim::SimServer> m_server;
};
