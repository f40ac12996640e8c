#include "platform/StationPlaces.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>

namespace {

struct PlacesCase {
    std::map<std::string, std::string> environment;
    std::string settings;
    std::string ports;
    std::string data;
};

void SetEnvironment(const std::map<std::string, std::string>& values) {
    for (const char* name : {"CONFIGURATION_DIRECTORY", "XDG_CONFIG_HOME", "HELIOWATCH_PORT_DIR",
                             "HELIOWATCH_DATA_DIR", "STATE_DIRECTORY", "XDG_DATA_HOME"}) {
        unsetenv(name);
    }
    setenv("HOME", "/home/u", 1);
    for (const auto& [name, value] : values) {
        setenv(name.c_str(), value.c_str(), 1);
    }
}

TEST(StationPlacesTest, EachPlaceTakesTheFirstVariableOfItsChain) {
    const std::map<std::string, std::string> all{
        {"CONFIGURATION_DIRECTORY", "/etc/heliowatch:/etc/more"},
        {"XDG_CONFIG_HOME", "/x/config"},
        {"HELIOWATCH_PORT_DIR", "/p"},
        {"HELIOWATCH_DATA_DIR", "/d"},
        {"STATE_DIRECTORY", "/var/lib/heliowatch"},
        {"XDG_DATA_HOME", "/x/data"}};
    std::map<std::string, std::string> service = all;
    service.erase("HELIOWATCH_PORT_DIR");
    service.erase("HELIOWATCH_DATA_DIR");
    const std::vector<PlacesCase> cases{
        {all, "/etc/heliowatch/Heliowatch.ini", "/p", "/d"},
        {service, "/etc/heliowatch/Heliowatch.ini", "/etc/heliowatch/ports", "/var/lib/heliowatch"},
        {{{"XDG_CONFIG_HOME", "/x/config"}, {"XDG_DATA_HOME", "/x/data"}},
         "/x/config/heliowatch/Heliowatch.ini",
         "/x/config/heliowatch/ports",
         "/x/data/heliowatch"},
        {{{"XDG_CONFIG_HOME", "relative"}, {"XDG_DATA_HOME", ""}},
         "/home/u/.config/heliowatch/Heliowatch.ini",
         "/home/u/.config/heliowatch/ports",
         "/home/u/.local/share/heliowatch"},
    };
    for (const PlacesCase& place : cases) {
        SetEnvironment(place.environment);
        EXPECT_EQ(DefaultSettingsFile(), place.settings);
        EXPECT_EQ(DefaultPortDirectory(), place.ports);
        EXPECT_EQ(DefaultDataDirectory(), place.data);
    }
}

} // namespace
