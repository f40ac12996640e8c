#include "SystemPorts.h"

#include "DeviceNames.h"
#include "PortDirectory.h"

#include <algorithm>
#include <fstream>
#include <sys/stat.h>

namespace {
constexpr int PORT_UNKNOWN = 0; // the serial core's type of a line without a UART

// stat follows the link: an entry whose adapter was unplugged names no port.
bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// Linux makes a ttyS node for every line the 8250 driver reserves, UART or
// not. The serial core publishes each line's UART type in sysfs, the value
// TIOCGSERIAL would report, without opening the device: opening would toggle
// the modem lines of whatever is attached, needs the dialout group, and fails
// for a port this station already holds exclusively.
bool HasUart(const std::string& ttyClassDirectory, const std::string& name) {
    std::ifstream typeFile(ttyClassDirectory + "/" + name + "/type");
    int type = PORT_UNKNOWN;
    return static_cast<bool>(typeFile >> type) && type != PORT_UNKNOWN;
}

void AddEntryPorts(const std::string& portDirectory, std::vector<int>& ports) {
    for (const std::string& name : EntryNames(portDirectory)) {
        const int port = PortOfEntryName(name);
        if (port > 0 && Exists(portDirectory + "/" + name)) {
            ports.push_back(port);
        }
    }
}

// /dev/ttyS<k> is what port k+1 opens when the port directory has no entry
// for it.
void AddUartPorts(const SystemPortPlaces& places, std::vector<int>& ports) {
    for (const std::string& name : EntryNames(places.deviceDirectory)) {
        const int line = NumberAfter(name, "ttyS");
        if (line >= 0 && HasUart(places.ttyClassDirectory, name)) {
            ports.push_back(line + 1);
        }
    }
}
} // namespace

std::vector<int> ListSystemPorts(const SystemPortPlaces& places) {
    std::vector<int> ports;
    AddEntryPorts(places.portDirectory, ports);
    AddUartPorts(places, ports);
    std::sort(ports.begin(), ports.end());
    ports.erase(std::unique(ports.begin(), ports.end()), ports.end());
    return ports;
}

std::vector<int> ListSystemPorts() {
    return ListSystemPorts(SystemPortPlaces{PortDirectory()});
}
