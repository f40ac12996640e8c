#pragma once

#include <string>
#include <vector>

class SettingsStore;

// A port the settings enable, with the port of its environment sensor
// (none when not above 0).
struct EnabledPort {
    int comPort = 0;
    int envComPort = -1;
};

// "Com<n>", the settings section of port n.
std::string PortSection(int port);
// The ports with Enable=1 among [Com1] to [Com19], ascending.
std::vector<EnabledPort> ReadEnabledPorts(const SettingsStore& settings);
