#include "PortDirectory.h"

#include "DeviceNames.h"
#include "StationPlaces.h"

#include <climits>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {
std::mutex g_targetsLock;
std::map<int, std::string> g_lastTargets; // by port, guarded by g_targetsLock

// Empty when the entry is missing.
std::string EntryTarget(const std::string& entry) {
    struct stat info {};
    if (lstat(entry.c_str(), &info) != 0) {
        return {};
    }
    if (!S_ISLNK(info.st_mode)) {
        return entry;
    }
    std::string target(PATH_MAX, '\0');
    const ssize_t length = readlink(entry.c_str(), target.data(), target.size());
    if (length <= 0) {
        return entry;
    }
    target.resize(static_cast<std::size_t>(length));
    return target.front() == '/' ? target : entry.substr(0, entry.rfind('/') + 1) + target;
}
} // namespace

std::string PortTarget(int port) {
    const std::string target = EntryTarget(PortEntryPath(port));
    std::lock_guard lock(g_targetsLock);
    if (!target.empty()) {
        g_lastTargets[port] = target;
        return target;
    }
    const auto known = g_lastTargets.find(port);
    return known != g_lastTargets.end() ? known->second : PortDevicePath(port);
}

std::string PortRouteText(int port) {
    return PortEntryName(port) + " \u2192 " + PortTarget(port);
}
