#pragma once

#include "InverterKind.h"

#include <optional>
#include <string>
#include <vector>

namespace sim {

inline constexpr int MAX_INVERTERS_PER_BUS = 99;

// "COM3:single*3,three/6000*2": the inverters of one bus, in order.
struct BusLayout {
    struct Units {
        InverterKind kind = InverterKind::Single;
        int ratedPowerW = 0; // 0: the kind's default
        int count = 1;
    };

    int port = 0;
    std::vector<Units> units;

    int InverterCount() const;
    static std::optional<BusLayout> Parse(const std::string& text, std::string& error);
};

} // namespace sim
