#pragma once

#include "model/SingleRuntimeData.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A station record as the user interface reads it under the group's lock.
struct InverterSnapshot {
    const void* record = nullptr; // identity only
    std::uint8_t address = 0;
    std::string serialNo;
    std::string model;
    std::string firmwareVer;
    std::string manufacturer;
    int ratedPower = 0;
    int phaseType = 0;
    double nominalVpv = 0.0;
    bool online = false;
    std::vector<std::uint8_t> runtimeFormat;
    std::vector<std::uint8_t> paramFormat;
    std::array<std::uint16_t, 12> params{};
    std::optional<SingleRuntimeData> sample; // once a poll was decoded
    std::size_t seriesSamples = 0;
    double lastSeriesValue = 0.0;

    bool Described() const { return phaseType != 0 && !paramFormat.empty(); }
    bool Sampled() const { return sample && sample->m_tSample != 0; }
};
