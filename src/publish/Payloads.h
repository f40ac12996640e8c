#pragma once

#include "StateFields.h"

#include <ctime>
#include <string>
#include <vector>

struct StateSample;
struct StationEvent;

// One poll: who answered, when, its work mode and fault, and every value it
// sent, keyed with its unit ("pac_w", "e_total_kwh").
std::string StatePayload(const StateSample& sample, const std::vector<FieldValue>& values);
std::string EventPayload(const StationEvent& event);
// The plant at one moment: its time and figures.
std::string PlantPayload(std::time_t when, const std::vector<FieldValue>& values);
// A fault opened or closed, as Home Assistant's event entity takes it.
std::string FaultEventPayload(const StationEvent& event);
// The last fault of an inverter: its text, value, error bits, when it began
// (opened: the event's time when not known) and whether it lasts.
std::string LastFaultPayload(const StationEvent& event, std::time_t opened);
