#include "HistoryNumberText.h"

#include <cstdio>

namespace {
std::uint64_t PowerOfTen(int exponent) {
    std::uint64_t result = 1;
    for (int i = 0; i < exponent; ++i) {
        result *= 10;
    }
    return result;
}
} // namespace

std::string FixedPointText(std::int64_t value, int decimals, int width) {
    const std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    const std::uint64_t scale = PowerOfTen(decimals);
    const std::string whole = (value < 0 ? "-" : "") + std::to_string(magnitude / scale);
    char text[64];
    std::snprintf(text, sizeof text, "%*s.%0*llu", width, whole.c_str(), decimals,
                  static_cast<unsigned long long>(magnitude % scale));
    return text;
}

std::string RightAlignedText(std::int64_t value, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%*lld", width, static_cast<long long>(value));
    return text;
}
