#pragma once

#include "Alert.h"
#include "DayFacts.h"
#include "WeakDays.h"
#include "model/InvFaultRecord.h"

#include <optional>
#include <vector>

// The alerts of a day's end.
namespace DayAlerts {

// port and address: where the station knows the inverter now; 0 if not.
Alert WeakDay(const WeakInverter& weak, int day, int port, int address);
// Each inverter's yield, the plant's peak and the faults that began on the day.
Alert DailySummary(int day, const DayYields& yields, const std::optional<DayPeak>& peak,
                   const std::vector<InvFaultRecord>& faults);
// The records of the faults that began on the day.
std::vector<InvFaultRecord> FaultsOfDay(const std::vector<InvFaultRecord>& records, int day);

} // namespace DayAlerts
