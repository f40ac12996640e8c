#pragma once

#include <array>
#include <cstddef>

// One editable grid-protection parameter: where it lives in the inverter's
// parameters, how it is shown and the inclusive limits of its input, in
// display units.
struct ParamRow {
    int slot; // the identifier on the bus is 0x40 + slot
    const char* label;
    int editId;
    const char* unit;
    double scale; // shown value = raw value x scale
    int decimals;
    int cellDecimals; // the limit cells of voltage and time rows show whole numbers
    double defaultValue;
    double minValue;
    double maxValue;
    const char* description;
    int defaultCellId;
    int minCellId;
    int maxCellId;
};

enum ParamRowIndex : std::size_t {
    ROW_VPV_START,
    ROW_T_START,
    ROW_VAC_MIN,
    ROW_VAC_MAX,
    ROW_FAC_MIN,
    ROW_FAC_MAX,
};
inline constexpr std::size_t PARAM_ROW_COUNT = ROW_FAC_MAX + 1;

// The rows in the order they are shown, checked and written.
const std::array<ParamRow, PARAM_ROW_COUNT>& ParamRows();
