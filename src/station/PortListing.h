#pragma once

#include <cstdio>

// Prints DescriptionLine() of every port of the port directory and the
// machine; 0, or 1 when there is none.
int ListPorts(std::FILE* out);
