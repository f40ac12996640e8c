#pragma once

#include <optional>
#include <string>

// A whole number, optionally signed; nothing for any other text or one too
// large for 64 bits.
std::optional<long long> WholeNumber(const std::string& text);
