#pragma once

#include "InverterKind.h"

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// Output power travels in tenths of a watt in 16 bits, the three-phase total
// included.
inline constexpr int MAX_RATED_POWER_W = 6500;
// Runtime data carries two bytes per field in a reply of at most 255 bytes.
inline constexpr std::size_t MAX_FIELDS = 127;

// What an inverter is, as opposed to what it is doing.
struct InverterProfile {
    InverterKind kind = InverterKind::Single;
    std::string serialNo;
    int ratedPowerW = 0;
    int nominalVpvTenths = 0;
    int ambientTenths = 200; // 0.1 degree Celsius
    double variation = 1.0;  // share of the rated power this unit's panels deliver
    std::string firmware;
    std::string model;
    std::string manufacturer;
    std::vector<std::uint8_t> runtimeFields;
    std::vector<std::uint8_t> paramFields;
    std::uint32_t eTotalBase = 0; // 0.1 kWh on the counter when counting started
    std::uint32_t hTotalBase = 0; // hours on the counter when counting started
};

// A unit of the kind with default field lists; rated power 0 takes the kind's
// default. Variation and counter bases derive from the serial number, so the
// same plant comes back after a restart.
InverterProfile MakeProfile(InverterKind kind, const std::string& serialNo, int ratedPowerW);

std::vector<std::uint8_t> DefaultRuntimeFields(InverterKind kind);
std::vector<std::uint8_t> DefaultParamFields();

} // namespace sim
