#include "PortSettings.h"

#include "SettingsStore.h"

namespace {
constexpr int FIRST_PORT = 1;
constexpr int LAST_PORT = 19;
constexpr int UNSET = -1;
} // namespace

std::string PortSection(int port) {
    return "Com" + std::to_string(port);
}

std::vector<EnabledPort> ReadEnabledPorts(const SettingsStore& settings) {
    std::vector<EnabledPort> ports;
    for (int port = FIRST_PORT; port <= LAST_PORT; ++port) {
        if (settings.GetInt(PortSection(port), "Enable", UNSET) == 1) {
            ports.push_back({port, settings.GetInt(PortSection(port), "EnvironmentCom", UNSET)});
        }
    }
    return ports;
}
