#pragma once

#include <string>
#include <vector>

// Where the serial ports of the machine show up.
struct SystemPortPlaces {
    std::string portDirectory;
    std::string deviceDirectory = "/dev";
    std::string ttyClassDirectory = "/sys/class/tty";
    std::string byIdDirectory = "/dev/serial/by-id";
};

// The port numbers the machine offers, ascending and without repeats: every
// "COM<n>" entry of the port directory that leads to an existing file, and
// n for every /dev/ttyS<n-1> that is backed by a UART.
std::vector<int> ListSystemPorts(const SystemPortPlaces& places);
// The same for PortDirectory() and the machine's own /dev and sysfs.
std::vector<int> ListSystemPorts();
