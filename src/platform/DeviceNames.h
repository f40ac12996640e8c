#pragma once

#include <string>
#include <vector>

// The names in a directory, "." and ".." included; none when it cannot be read.
std::vector<std::string> EntryNames(const std::string& directory);
// n for a name that is exactly prefix followed by n in decimal, else -1.
int NumberAfter(const std::string& name, const std::string& prefix);
