#pragma once

#include "StateFields.h"

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

struct PlantTotals;
struct StateSample;
struct StationEvent;

// One poll: who answered, when, its work mode and fault, and every value it
// sent, keyed with its unit ("pac_w", "e_total_kwh").
std::string StatePayload(const StateSample& sample, const std::vector<FieldValue>& values);
std::string EventPayload(const StationEvent& event);
// dropped: state messages the publisher had to let go since it started.
std::string PlantPayload(const PlantTotals& totals, std::uint64_t dropped);
