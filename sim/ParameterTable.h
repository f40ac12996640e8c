#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace sim {

// The grid-protection parameters an inverter keeps, identifiers 0x40 to 0x4B,
// each with the limits within which the inverter accepts a new value.
class ParameterTable {
public:
    static constexpr std::uint8_t FIRST_ID = 0x40;
    static constexpr std::uint8_t LAST_ID = 0x4B;

    ParameterTable();

    std::optional<std::uint16_t> Value(std::uint8_t id) const;
    // A write from the bus: refused outside the limits.
    bool Write(std::uint8_t id, std::uint16_t value);
    // A change made on the unit itself, which ignores the limits.
    bool Set(std::uint8_t id, std::uint16_t value);
    // "40:1500,41:60,..." in identifier order.
    std::string Describe() const;

private:
    struct Entry {
        std::uint16_t value;
        std::uint16_t min;
        std::uint16_t max;
    };

    Entry* Find(std::uint8_t id);
    const Entry* Find(std::uint8_t id) const;

    std::array<Entry, LAST_ID - FIRST_ID + 1> m_entries;
};

} // namespace sim
