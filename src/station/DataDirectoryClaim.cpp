#include "DataDirectoryClaim.h"

#include "StationOptions.h"
#include "platform/DataDirectory.h"
#include "platform/MakeDirectories.h"
#include "platform/SingleInstance.h"
#include "platform/Warning.h"

std::unique_ptr<SingleInstance> ClaimDataDirectory(const StationOptions& options,
                                                   std::string& problem) {
    SetDataDirectory(options.dataDirectory);
    // HistLog waits for settings that are sound; the lock needs only its folder.
    if (std::string reason; !MakeDirectories(DataDirectory(), DATA_FOLDER_MODE, &reason)) {
        problem = "cannot create the data directory: " + reason;
        return nullptr;
    }
    auto lock = std::make_unique<SingleInstance>(DataDirectory(), DATA_DIRECTORY_LOCK_NAME);
    if (lock->HeldElsewhere()) {
        problem = "another station already writes to the data directory " + DataDirectory() + " (" +
                  lock->Path() + ")";
        return nullptr;
    }
    if (!lock->Acquired()) {
        Warning("data directory not locked: %s", lock->Problem().c_str());
    }
    return lock;
}
