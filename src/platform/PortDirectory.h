#pragma once

#include <string>

// Serial ports are named by number. A port directory holds entries "COM<n>"
// (symlinks or device nodes); a number without an entry falls back to
// /dev/ttyS<n-1>.

// --port-dir, else DefaultPortDirectory().
std::string PortDirectory();
void SetPortDirectory(const std::string& directory);

std::string PortEntryName(int port); // "COM<n>"
// n for an entry named exactly "COM<n>", else -1.
int PortOfEntryName(const std::string& name);
std::string PortEntryPath(int port); // PortDirectory() + "/COM<n>"
std::string PortDevicePath(int port);
// Where the port's entry leads: the target of its link (or the entry itself
// when it is a device node), the target it last had while the entry is gone,
// and PortDevicePath when no entry was ever seen.
std::string PortTarget(int port);
// "COM<n> → " + PortTarget(port): what a person needs to find the adapter.
std::string PortRouteText(int port);
