#include "PortSettings.h"

#include "SettingRanges.h"
#include "SettingsStore.h"

namespace {
constexpr int UNSET = -1;
} // namespace

std::string PortSection(int port) {
    return "Com" + std::to_string(port);
}

std::vector<EnabledPort> ReadEnabledPorts(const SettingsStore& settings) {
    std::vector<EnabledPort> ports;
    for (int port = 1; port <= LAST_PORT; ++port) {
        const std::string section = PortSection(port);
        if (settings.GetInt(section, "Enable", UNSET, SWITCH_RANGE) == 1) {
            ports.push_back(
                {port, settings.GetInt(section, "EnvironmentCom", UNSET, PORT_NUMBER_RANGE)});
        }
    }
    return ports;
}
