#pragma once

#include "SimBus.h"

#include <string>
#include <vector>

namespace sim {

// The buses of the simulator as the control commands see them.
class SimPlant {
public:
    virtual ~SimPlant() = default;

    virtual std::vector<SimBus*> Buses() = 0;
    // The pty of a bus, empty while the bus has vanished.
    virtual std::string PtyPath(int port) const = 0;
    // Closes the bus's pty and removes its link, as if the adapter was pulled.
    virtual bool Vanish(int port, std::string& error) = 0;
    // A new pty under the same link.
    virtual bool Restore(int port, std::string& error) = 0;
};

} // namespace sim
