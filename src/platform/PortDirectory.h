#pragma once

#include <string>

// Serial ports are named by number. A port directory holds entries "COM<n>"
// (symlinks or device nodes); a number without an entry falls back to
// /dev/ttyS<n-1>.

// --port-dir, else HELIOWATCH_PORT_DIR, else $XDG_CONFIG_HOME/heliowatch/ports.
std::string PortDirectory();
void SetPortDirectory(const std::string& directory);

std::string PortEntryName(int port); // "COM<n>"
std::string PortEntryPath(int port); // PortDirectory() + "/COM<n>"
std::string PortDevicePath(int port);
