#pragma once

#include <bitset>
#include <cstdint>
#include <vector>

class RuntimeData;

// One decoded value as it is published: its key carries the unit, and what
// Home Assistant needs to show it.
struct StateField {
    // How a value that only counts up may go back.
    enum class Counter {
        None,     // not a counter
        Daily,    // starts from 0 each day
        Lifetime, // only by a reset of the inverter's counters
    };

    const char* key;                   // "pac_w"
    const char* name = "";             // "Output power"
    const char* deviceClass = nullptr; // null when Home Assistant has none for it
    const char* unit = nullptr;
    const char* stateClass = nullptr; // null for values kept in the state message only
    int precision = 0;                // decimals worth showing
    bool diagnostic = false;          // of interest when something is wrong
    Counter counter = Counter::None;

    // Offered to Home Assistant; values at the last fault are not.
    bool IsSensor() const { return stateClass != nullptr; }
};

struct FieldValue {
    const StateField* field;
    double value; // SI units, energy in kWh
};

// Identifiers an inverter names in its field list.
using OfferedFields = std::bitset<256>;
OfferedFields OfferedFieldsOf(const std::vector<std::uint8_t>& fieldList);

// Every value the sample holds that the inverter's field list named, in place
// of what values held; fields it never sends are left out rather than
// published as zeros, and so is a value another field already carries.
void DecodedValues(const RuntimeData& data, const OfferedFields& offered,
                   std::vector<FieldValue>& values);
