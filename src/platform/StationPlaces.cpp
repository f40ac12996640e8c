#include "StationPlaces.h"

#include <cstdlib>

namespace {
std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// systemd joins several directories with ':'; the station uses the first.
std::string FirstOfList(const char* name) {
    const std::string list = Variable(name);
    return list.substr(0, list.find(':'));
}

// Relative values are invalid by the XDG rules and are ignored.
std::string XdgFolder(const char* name, const char* underHome) {
    const std::string value = Variable(name);
    if (!value.empty() && value.front() == '/') {
        return value;
    }
    return Variable("HOME") + underHome;
}

std::string SettingsFolder() {
    const std::string service = FirstOfList("CONFIGURATION_DIRECTORY");
    return !service.empty() ? service : XdgFolder("XDG_CONFIG_HOME", "/.config") + "/heliowatch";
}
} // namespace

std::string DefaultSettingsFile() {
    return SettingsFolder() + "/Heliowatch.ini";
}

std::string DefaultPortDirectory() {
    const std::string chosen = Variable("HELIOWATCH_PORT_DIR");
    return !chosen.empty() ? chosen : SettingsFolder() + "/ports";
}

std::string DefaultDataDirectory() {
    if (std::string chosen = Variable("HELIOWATCH_DATA_DIR"); !chosen.empty()) {
        return chosen;
    }
    if (std::string service = FirstOfList("STATE_DIRECTORY"); !service.empty()) {
        return service;
    }
    return XdgFolder("XDG_DATA_HOME", "/.local/share") + "/heliowatch";
}
