#include "ParamTexts.h"

#include <cstdio>

namespace {
struct Known {
    int identifier;
    const char* name;
    const char* meaning;
    const char* unit;
    double divisor;
    int decimals;
};

constexpr Known KNOWN[] = {
    {0x40, "Vpv-Start", "PV start-up voltage", "V", 10.0, 1},
    {0x41, "T-Start", "Time to connect grid", "s", 1.0, 0},
    {0x44, "Vac-Min", "Minimum operational grid voltage", "V", 10.0, 1},
    {0x45, "Vac-Max", "Maximum operational grid voltage", "V", 10.0, 1},
    {0x46, "Fac-Min", "Minimum operational grid frequency", "Hz", 100.0, 2},
    {0x47, "Fac-Max", "Maximum operational grid frequency", "Hz", 100.0, 2},
};
} // namespace

ParamText ParamTextOf(int identifier, int raw) {
    for (const Known& known : KNOWN) {
        if (known.identifier == identifier) {
            return {known.name, known.meaning, known.unit, raw / known.divisor, known.decimals};
        }
    }
    char name[24];
    std::snprintf(name, sizeof name, "Parameter 0x%02X", static_cast<unsigned>(identifier));
    return {name, "", "", static_cast<double>(raw), 0};
}
