#include "PortListing.h"

#include "platform/Log.h"
#include "platform/PortDirectory.h"
#include "platform/PortInventory.h"

int ListPorts(std::FILE* out) {
    const std::vector<PortDescription> ports = DescribePorts(SystemPortPlaces{PortDirectory()});
    for (const PortDescription& port : ports) {
        std::fprintf(out, "%s\n", DescriptionLine(port).c_str());
    }
    if (ports.empty()) {
        Log(LogLevel::Error, "no serial port found, and no COM<n> entry in " + PortDirectory());
        return 1;
    }
    return 0;
}
