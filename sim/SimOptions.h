#pragma once

#include "BusLayout.h"
#include "InverterKind.h"
#include "WireTime.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sim {

// The command line of heliowatch-sim.
struct SimOptions {
    enum class Outcome { Run, Help, Version, Invalid };

    std::string portDirectory;
    std::string controlPath;
    std::vector<BusLayout> buses;
    std::string serialPrefix = "SIM";
    std::map<std::pair<int, int>, std::string> serials; // (port, position) to serial number
    std::map<InverterKind, std::vector<std::uint8_t>> runtimeFields;
    std::map<InverterKind, std::vector<std::uint8_t>> paramFields;
    double speed = 1.0;
    std::optional<int> startSecondOfDay;
    int ambientTenths = 200;
    WireTime wireTime;
    std::vector<std::string> commands; // control commands run before the buses go live

    static Outcome Parse(const std::vector<std::string>& args, SimOptions& options,
                         std::string& error);
    static std::string Usage();
};

} // namespace sim
