#pragma once

#include "InverterFactory.h"
#include "SimPlant.h"

#include <set>
#include <string>
#include <vector>

namespace simtest {

// Buses in memory; vanishing and restoring a bus only mark it.
class FakePlant : public sim::SimPlant {
public:
    // COM3 with two single-phase inverters, COM4 with a three-phase one.
    void AddExampleBuses(const sim::InverterFactory& factory) {
        m_buses.emplace_back(3);
        m_buses.emplace_back(4);
        m_buses[0].AddInverter(factory.Make(sim::InverterKind::Single, 3, 1, 0));
        m_buses[0].AddInverter(factory.Make(sim::InverterKind::Single, 3, 2, 0));
        m_buses[1].AddInverter(factory.Make(sim::InverterKind::Three, 4, 1, 6000));
    }

    std::vector<sim::SimBus*> Buses() override {
        std::vector<sim::SimBus*> buses;
        for (sim::SimBus& bus : m_buses) {
            buses.push_back(&bus);
        }
        return buses;
    }
    std::string PtyPath(int port) const override {
        return m_vanished.count(port) != 0 ? "" : "/dev/pts/" + std::to_string(port);
    }
    bool Vanish(int port, std::string& error) override {
        error = "gone already";
        return m_vanished.insert(port).second;
    }
    bool Restore(int port, std::string& error) override {
        error = "not vanished";
        return m_vanished.erase(port) == 1;
    }

    std::vector<sim::SimBus> m_buses;
    std::set<int> m_vanished;
};

} // namespace simtest
