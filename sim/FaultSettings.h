#pragma once

#include "FaultCondition.h"
#include "FaultEpisode.h"

#include <cstdint>
#include <optional>
#include <string>

namespace sim {

// What is wrong with an inverter, on purpose.
struct FaultSettings {
    bool silent = false;       // deaf and mute: hears no request, sends nothing
    bool nak = false;          // refuses every acknowledged request
    bool badChecksum = false;  // every reply carries a wrong checksum
    bool trailingByte = false; // one stray byte follows every reply
    bool misaddressed = false; // replies name a destination other than the station
    std::optional<FaultCondition> condition;
    std::optional<FaultEpisode> episode;
    // Added to the lifetime energy it reports, in 0.1 kWh, as a unit whose
    // counter dips or reads 0 at boot would; the counter itself goes on.
    std::int32_t eTotalShift = 0;

    // The fault reported at this moment: a steady one before an episode.
    const FaultCondition* ActiveCondition(std::int64_t now) const;
    // "none", or the settings that are on, separated by blanks.
    std::string Describe() const;
};

} // namespace sim
