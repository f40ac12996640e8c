#pragma once

#include "SimBus.h"
#include "WireTime.h"

#include <string>
#include <vector>

namespace sim {

struct SimServerConfig {
    std::string portDirectory;
    std::string controlPath; // empty: no control socket
    std::vector<SimBus> buses;
    WireTime wireTime;
};

} // namespace sim
