#include "PortCheck.h"

#include "ServiceStatusLine.h"
#include "platform/ComSerial.h"
#include "platform/Log.h"
#include "platform/PortDirectory.h"
#include "platform/PortInventory.h"
#include "store/PortSettings.h"
#include "store/SettingsStore.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<int> PortsToCheck(const SettingsStore& settings) {
    std::vector<int> ports;
    for (const EnabledPort& enabled : ReadEnabledPorts(settings)) {
        for (const int port : {enabled.comPort, enabled.envComPort}) {
            if (port > 0 && std::find(ports.begin(), ports.end(), port) == ports.end()) {
                ports.push_back(port);
            }
        }
    }
    return ports;
}

// The reason, or empty when the port opened.
std::string TryOpen(int port) {
    CSerial serial(SerialSettings{port});
    return serial.Open() == 1 ? std::string() : serial.LastError();
}
} // namespace

int CheckPorts(const std::string& settingsFile, std::FILE* out) {
    const SettingsStore settings(settingsFile);
    if (const std::string problem = settings.Problem(); !problem.empty()) {
        Log(LogLevel::Error, problem);
        return 1;
    }
    for (const std::string& keyProblem : settings.KeyProblems()) {
        Log(LogLevel::Warning, keyProblem);
    }
    const std::vector<int> ports = PortsToCheck(settings);
    if (ports.empty()) {
        Log(LogLevel::Error, NoPortAdvice(settingsFile));
        return 1;
    }
    int exitCode = 0;
    for (const int port : ports) {
        const std::string reason = TryOpen(port);
        std::fprintf(out, "%s %s %s%s\n", PortEntryName(port).c_str(),
                     DescribePort(SystemPortPlaces{PortDirectory()}, port).device.c_str(),
                     reason.empty() ? "ok" : "failed: ", reason.c_str());
        exitCode = reason.empty() ? exitCode : 1;
    }
    return exitCode;
}
