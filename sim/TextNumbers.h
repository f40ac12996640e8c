#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// Whole numbers as the command line and the control channel write them.

// Decimal, or hexadecimal after 0x.
std::optional<long long> ParseNumber(const std::string& text);
// As ParseNumber, with an optional leading '-'.
std::optional<long long> ParseSignedNumber(const std::string& text);
// Hexadecimal with or without 0x, as field identifiers are written.
std::optional<std::uint8_t> ParseIdentifier(const std::string& text);
// "00,40,0x01": identifiers separated by commas.
std::optional<std::vector<std::uint8_t>> ParseIdentifierList(const std::string& text);
// "COM3" gives 3.
std::optional<int> ParsePortName(const std::string& text);
std::vector<std::string> SplitText(const std::string& text, char separator);

} // namespace sim
