#pragma once

#include "StateFields.h"

#include <cstdint>
#include <vector>

struct PlantTotals;

// The plant's figures as its message carries them: power, energies, counts
// of inverters and faults, and the messages the publisher had to let go.
void PlantValues(const PlantTotals& totals, std::uint64_t dropped, std::vector<FieldValue>& values);

// The same fields, those offered to Home Assistant included.
const std::vector<const StateField*>& PlantFields();
