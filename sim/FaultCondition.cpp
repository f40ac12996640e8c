#include "FaultCondition.h"

#include <cstdio>

namespace sim {

std::string FaultCondition::Describe() const {
    char text[40];
    std::snprintf(text, sizeof text, "mode=%d bits=0x%08X", mode, errorBits);
    std::string description = text;
    for (const auto& [id, value] : values) {
        std::snprintf(text, sizeof text, " %02X=%u", id, value);
        description += text;
    }
    return description;
}

} // namespace sim
