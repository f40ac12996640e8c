#include "DataDirectory.h"

#include "MakeDirectories.h"

#include <mutex>

namespace {
std::mutex g_lock;
std::string g_dataDirectory = ".";
} // namespace

void SetDataDirectory(const std::string& directory) {
    std::lock_guard lock(g_lock);
    g_dataDirectory = directory;
}

std::string DataDirectory() {
    std::lock_guard lock(g_lock);
    return g_dataDirectory;
}

std::string HistLogDirectory() {
    return DataDirectory() + "/HistLog";
}

bool CreateDataDirectories(std::string* reason) {
    return MakeDirectories(HistLogDirectory(), DATA_FOLDER_MODE, reason);
}
