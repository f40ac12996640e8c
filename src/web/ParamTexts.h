#pragma once

#include <string>

// A grid-protection parameter as people read it: its name, what it means,
// and its value in its unit.
struct ParamText {
    std::string name;
    std::string meaning;
    std::string unit;
    double value = 0.0;
    int decimals = 0;
};

// The parameter of identifier (0x40 and up) holding raw; one the station has
// no name for keeps its identifier and raw value.
ParamText ParamTextOf(int identifier, int raw);
