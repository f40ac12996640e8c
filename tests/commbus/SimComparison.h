#pragma once

#include "InverterSnapshot.h"
#include "SimUnit.h"

// GoogleTest expectations that a station record holds what the simulated
// inverter sent.
void ExpectDescriptionMatches(const InverterSnapshot& record, const SimUnit& unit);
void ExpectSampleMatches(const InverterSnapshot& record, const SimUnit& unit);
