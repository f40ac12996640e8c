#include "PortDirectory.h"

#include <cstdlib>
#include <mutex>
#include <sys/stat.h>

namespace {
std::mutex g_directoryLock;
std::string g_directoryOverride;

std::string DefaultPortDirectory() {
    if (const char* fromEnvironment = std::getenv("HELIOWATCH_PORT_DIR");
        fromEnvironment != nullptr && *fromEnvironment != '\0') {
        return fromEnvironment;
    }
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
        return std::string(config) + "/heliowatch/ports";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.config/heliowatch/ports";
}
} // namespace

std::string PortDirectory() {
    std::lock_guard lock(g_directoryLock);
    return g_directoryOverride.empty() ? DefaultPortDirectory() : g_directoryOverride;
}

void SetPortDirectory(const std::string& directory) {
    std::lock_guard lock(g_directoryLock);
    g_directoryOverride = directory;
}

std::string PortEntryName(int port) {
    return "COM" + std::to_string(port);
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
