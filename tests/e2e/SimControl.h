#pragma once

#include <string>

// One command to the simulator's control socket; its one-line answer, empty
// when the socket does not answer.
std::string SimControl(const std::string& socketPath, const std::string& command);
