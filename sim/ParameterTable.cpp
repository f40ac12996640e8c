#include "ParameterTable.h"

#include <cstdio>

namespace sim {

ParameterTable::ParameterTable()
    : m_entries{{
          {1500, 1000, 5000}, // 0x40 Vpv-Start, 0.1 V
          {60, 10, 600},      // 0x41 T-Start, s
          {5500, 4000, 6000}, // 0x42 PV voltage limit, 0.1 V
          {150, 50, 300},     // 0x43 PV current limit, 0.1 A
          {1840, 1500, 2300}, // 0x44 Vac-Min, 0.1 V
          {2645, 2300, 2800}, // 0x45 Vac-Max, 0.1 V
          {4750, 4500, 5000}, // 0x46 Fac-Min, 0.01 Hz
          {5150, 5000, 5500}, // 0x47 Fac-Max, 0.01 Hz
          {2530, 2300, 2800}, // 0x48 ten-minute mean Vac limit, 0.1 V
          {300, 0, 900},      // 0x49 reconnect delay, s
          {1000, 100, 5000},  // 0x4A grid impedance limit, mOhm
          {0, 0, 1},          // 0x4B islanding protection off/on
      }} {}

ParameterTable::Entry* ParameterTable::Find(std::uint8_t id) {
    return id < FIRST_ID || id > LAST_ID ? nullptr : &m_entries[id - FIRST_ID];
}

const ParameterTable::Entry* ParameterTable::Find(std::uint8_t id) const {
    return id < FIRST_ID || id > LAST_ID ? nullptr : &m_entries[id - FIRST_ID];
}

std::optional<std::uint16_t> ParameterTable::Value(std::uint8_t id) const {
    const Entry* entry = Find(id);
    if (entry == nullptr) {
        return std::nullopt;
    }
    return entry->value;
}

bool ParameterTable::Write(std::uint8_t id, std::uint16_t value) {
    Entry* entry = Find(id);
    if (entry == nullptr || value < entry->min || value > entry->max) {
        return false;
    }
    entry->value = value;
    return true;
}

bool ParameterTable::Set(std::uint8_t id, std::uint16_t value) {
    Entry* entry = Find(id);
    if (entry == nullptr) {
        return false;
    }
    entry->value = value;
    return true;
}

std::string ParameterTable::Describe() const {
    std::string text;
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        char item[16];
        std::snprintf(item, sizeof item, "%s%02X:%u", i == 0 ? "" : ",",
                      static_cast<unsigned>(FIRST_ID + i), m_entries[i].value);
        text += item;
    }
    return text;
}

} // namespace sim
