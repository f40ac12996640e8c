#pragma once

#include <cstdint>

class SingleRuntimeData;
class ThreeRuntimeData;

// Store one runtime value under its field identifier. Identifiers the record
// kind does not hold are ignored.
void StoreSingleField(SingleRuntimeData& record, std::uint8_t identifier, std::uint16_t value);
void StoreThreeField(ThreeRuntimeData& record, std::uint8_t identifier, std::uint16_t value);
