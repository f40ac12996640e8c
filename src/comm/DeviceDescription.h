#pragma once

#include <cstdint>
#include <string>

class CInverter;

// The 64-byte description an inverter sends about itself. Empty texts mean
// "keep what the record has".
struct DeviceDescription {
    int phaseType = 1;
    int ratedPower = 0;
    std::string firmwareVer;
    std::string model;
    std::string manufacturer;
    std::string serialNo;
    double nominalVpv = 0.0;
};

DeviceDescription ParseDeviceDescription(const std::uint8_t* data);

// Stores the description in the record under its group's lock, with a fresh
// runtime-data record of the described kind.
void ApplyDeviceDescription(CInverter& inverter, const DeviceDescription& description);

// The text of a fixed-width field: up to the first NUL, blanks trimmed at
// both ends (other control characters are kept).
std::string TrimmedField(const std::uint8_t* field, std::size_t width);
// A fixed-width decimal field: leading blanks skipped, optional sign, stops at
// the first non-digit; no digits gives 0.
int DecimalField(const std::uint8_t* field, std::size_t width);
