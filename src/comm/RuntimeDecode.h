#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

class CInverter;

// Decode one runtime-data payload by the inverter's field list into its
// runtime-data record, which must already be of the matching kind. The new
// sample is built aside and swapped in under the group's lock.
void DecodeSingle(CInverter& inverter, const std::uint8_t* data, std::size_t length,
                  std::time_t sampleTime);
void DecodeThree(CInverter& inverter, const std::uint8_t* data, std::size_t length,
                 std::time_t sampleTime);
