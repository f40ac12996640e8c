#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

class RuntimeData;

// One decoded value as it is published: its key carries the unit, and what
// Home Assistant needs to show it.
struct StateField {
    const char* key;         // "pac_w"
    const char* name;        // "Output power"
    const char* deviceClass; // null when Home Assistant has none for it
    const char* unit;
    const char* stateClass;
    bool sensor; // offered to Home Assistant; values at the last fault are not
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
// published as zeros.
void DecodedValues(const RuntimeData& data, const OfferedFields& offered,
                   std::vector<FieldValue>& values);

// The work mode and fault as words, offered to Home Assistant with every
// inverter.
const std::array<const StateField*, 2>& TextSensors();
// Every sensor either kind of inverter may offer, each once.
std::vector<const StateField*> AllSensors();
