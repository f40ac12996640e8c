#pragma once

#include <string>

// Where the station keeps its files when the command line does not say:
// first the folders systemd hands a service, then the user's XDG folders.
// Never the program's own folder, which a packaged program cannot write.

// $CONFIGURATION_DIRECTORY/Heliowatch.ini, else
// $XDG_CONFIG_HOME/heliowatch/Heliowatch.ini (XDG_CONFIG_HOME: ~/.config).
std::string DefaultSettingsFile();
// HELIOWATCH_PORT_DIR, else "ports" in the settings file's default folder.
std::string DefaultPortDirectory();
// HELIOWATCH_DATA_DIR, else $STATE_DIRECTORY, else $XDG_DATA_HOME/heliowatch
// (XDG_DATA_HOME: ~/.local/share).
std::string DefaultDataDirectory();
