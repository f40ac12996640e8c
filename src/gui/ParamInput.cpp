#include "ParamInput.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace {
// Decimal fractions are inexact in binary: 51.37 scaled by ten twice lands
// just below 5137, and truncating would write 51.36.
constexpr double RAW_SLACK = 1e-6;

double LeadingNumber(const std::string& text) {
    // The process runs in the user's locale, whose decimal separator may not
    // be '.'.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return strtod_l(text.c_str(), nullptr, cLocale);
}
} // namespace

ParamInput ReadParamInput(const std::string& text, const ParamRow& row, std::uint16_t* raw) {
    if (std::count(text.begin(), text.end(), '.') > row.decimals) {
        return ParamInput::TooManyPoints;
    }
    const double value = LeadingNumber(text);
    // Written so that "nan" is out of range too.
    if (!(value >= row.minValue && value <= row.maxValue)) {
        return ParamInput::OutOfRange;
    }
    double scaled = value;
    for (int decimal = 0; decimal < row.decimals; ++decimal) {
        scaled *= 10;
    }
    *raw = static_cast<std::uint16_t>(std::trunc(scaled + RAW_SLACK));
    return ParamInput::Accepted;
}
