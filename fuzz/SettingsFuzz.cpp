// A settings file through the syntax check and the reads the station makes
// of it at start-up: ports, interval, publishing and web settings.

#include "FuzzCheck.h"
#include "ScratchFiles.h"
#include "store/IniSyntax.h"
#include "store/MqttSettings.h"
#include "store/PortSettings.h"
#include "store/SettingsStore.h"
#include "store/WebSettings.h"

#include <array>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>

namespace {
constexpr int UNSET = -1;

void ReadStationSettings(const SettingsStore& settings) {
    settings.GetInt("Interval", "Interval", UNSET, INTERVAL_RANGE);
    for (const EnabledPort& port : ReadEnabledPorts(settings)) {
        Require(port.comPort >= 1 && port.comPort <= LAST_PORT, "an enabled port is 1 to 19");
        Require(port.envComPort <= LAST_PORT, "a sensor port is at most 19");
    }
    ReadWebSettings(settings);
    MqttSettingsProblem(LoadMqttSettings(settings.Path()));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchDirectory() + "/Heliowatch.ini";
    static std::time_t inputs = 0;
    WriteWholeFile(path, data, size);
    // The settings library reads a file again only when its size or time
    // changed; inputs come faster than the clock ticks.
    ++inputs;
    const std::array<timespec, 2> times{timespec{inputs, 0}, timespec{inputs, 0}};
    Require(::utimensat(AT_FDCWD, path.c_str(), times.data(), 0) == 0,
            "the settings file's time can be set");

    const SettingsStore settings(path);
    const std::string problem = settings.Problem();
    const std::string text(reinterpret_cast<const char*>(data), size);
    Require(IniSyntaxProblem(text).empty() || !problem.empty(),
            "a file the syntax check refuses is refused");
    Require(problem.empty() || problem.find(path) != std::string::npos,
            "a settings problem names the file");
    if (problem.empty()) {
        ReadStationSettings(settings);
    }
    return 0;
}
