#include "PortDirectory.h"

#include "DeviceNames.h"
#include "StationPlaces.h"

#include <mutex>
#include <sys/stat.h>

namespace {
std::mutex g_directoryLock;
std::string g_directoryOverride;
} // namespace

std::string PortDirectory() {
    std::lock_guard lock(g_directoryLock);
    return g_directoryOverride.empty() ? DefaultPortDirectory() : g_directoryOverride;
}

void SetPortDirectory(const std::string& directory) {
    std::lock_guard lock(g_directoryLock);
    g_directoryOverride = directory;
}

namespace {
const std::string ENTRY_PREFIX = "COM";
}

std::string PortEntryName(int port) {
    return ENTRY_PREFIX + std::to_string(port);
}

int PortOfEntryName(const std::string& name) {
    return NumberAfter(name, ENTRY_PREFIX);
}

std::string PortEntryPath(int port) {
    return PortDirectory() + "/" + PortEntryName(port);
}

std::string PortDevicePath(int port) {
    const std::string entry = PortEntryPath(port);
    // lstat: a dangling link still names the port, and opening it fails
    // rather than silently falling back to another device.
    struct stat info {};
    if (lstat(entry.c_str(), &info) == 0) {
        return entry;
    }
    return "/dev/ttyS" + std::to_string(port - 1);
}
