#include "DataDirectoryClaim.h"

#include "ExitStatus.h"
#include "StationOptions.h"
#include "platform/DataDirectory.h"
#include "platform/MakeDirectories.h"
#include "platform/SingleInstance.h"

std::unique_ptr<SingleInstance> ClaimDataDirectory(const StationOptions& options,
                                                   std::string& problem, int& exitStatus) {
    SetDataDirectory(options.dataDirectory);
    std::string reason;
    // HistLog waits for settings that are sound; the lock needs only its folder.
    if (!MakeDirectories(DataDirectory(), DATA_FOLDER_MODE, &reason)) {
        problem = "cannot create the data directory: " + reason;
        exitStatus = EXIT_DATA_DIRECTORY;
        return nullptr;
    }
    auto lock = std::make_unique<SingleInstance>(DataDirectory(), DATA_DIRECTORY_LOCK_NAME);
    if (lock->HeldElsewhere()) {
        problem = "another station already writes to the data directory " + DataDirectory() + " (" +
                  lock->Path() + ")";
        exitStatus = EXIT_ANOTHER_STATION;
        return nullptr;
    }
    if (!lock->Acquired()) {
        problem = "cannot use the data directory " + DataDirectory() + ": " + lock->Problem();
        exitStatus = EXIT_DATA_DIRECTORY;
        return nullptr;
    }
    exitStatus = EXIT_OK;
    return lock;
}
