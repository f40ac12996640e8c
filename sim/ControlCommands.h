#pragma once

#include "InverterFactory.h"
#include "SimClock.h"
#include "SimPlant.h"

#include <string>
#include <vector>

namespace sim {

// The text commands of the control channel: each line in, one line out,
// starting with "ok" or "error".
class ControlCommands {
public:
    ControlCommands(SimPlant& plant, const InverterFactory& factory, const SimClock& clock)
        : m_plant(plant), m_factory(factory), m_clock(clock) {}

    std::string Execute(const std::string& line);

    // The command summary shown by "help" and --help.
    static std::string Help();

private:
    using Words = std::vector<std::string>;

    struct Target {
        SimBus* bus = nullptr;
        std::size_t index = 0;
        SimInverter* inverter = nullptr;
    };

    std::string List(const Words& words);
    std::string ListBuses(const Words& words);
    std::string Show(const Words& words);
    std::string Set(const Words& words);
    std::string SetFault(SimInverter& inverter, const Words& words);
    std::string SetEpisode(SimInverter& inverter, const Words& words);
    std::string SetETotalShift(SimInverter& inverter, const Words& words);
    std::string Clear(const Words& words);
    std::string Param(const Words& words);
    std::string Serial(const Words& words);
    std::string Unregister(const Words& words);
    std::string Reset(const Words& words);
    std::string Add(const Words& words);
    std::string Vanish(const Words& words);
    std::string Restore(const Words& words);
    std::string Heard(const Words& words);

    bool FindTarget(const std::string& name, Target& target);
    SimBus* FindBus(const std::string& name);
    std::string Describe(const Target& target);

    SimPlant& m_plant;
    const InverterFactory& m_factory;
    const SimClock& m_clock;
};

} // namespace sim
