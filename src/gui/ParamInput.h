#pragma once

#include "ParamRows.h"

#include <cstdint>
#include <string>

enum class ParamInput { Accepted, TooManyPoints, OutOfRange };

// Reads an edit's text for a row: its leading number, as the C library's
// text-to-double conversion in the "C" locale reads it (0 when there is none),
// checked against the row's limits and turned into the raw value.
ParamInput ReadParamInput(const std::string& text, const ParamRow& row, std::uint16_t* raw);
