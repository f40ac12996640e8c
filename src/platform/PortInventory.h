#pragma once

#include "SystemPorts.h"

#include <string>
#include <vector>

// What the file system and sysfs tell about one port, without opening it.
struct PortDescription {
    enum class State { Present, Missing, NotADevice };

    int port = 0;       // 0: a USB serial device that no COM entry leads to
    std::string device; // for a missing one, where its entry points
    State state = State::Present;
    std::string stableName; // the by-id link that leads to the same device
    std::string usbId;      // idVendor:idProduct
    std::string vendor;
    std::string product;
    std::string serial; // what a udev rule matches the adapter by
};

// One port by its number; its device as the station would open it.
PortDescription DescribePort(const SystemPortPlaces& places, int port);
// The ports of ListSystemPorts, every COM entry that leads nowhere or to no
// device, then the USB serial devices that no entry leads to.
std::vector<PortDescription> DescribePorts(const SystemPortPlaces& places);

// COM3 /dev/ttyUSB0 by-id=/dev/serial/by-id/usb-... usb=0403:6001 vendor="..." product="..."
//   serial="..."
// COM5 /dev/ttyUSB4 missing
// - /dev/ttyACM0 no-entry ...
std::string DescriptionLine(const PortDescription& port);
