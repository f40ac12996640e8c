#include "gui/ParamInput.h"

#include <gtest/gtest.h>

namespace {

struct InputCase {
    ParamRowIndex row;
    const char* text;
    ParamInput expected;
    std::uint16_t raw;
};

TEST(ParamInputTest, ReadsTheLeadingNumberWithinTheLimits) {
    const InputCase cases[] = {
        {ROW_VPV_START, "150.5", ParamInput::Accepted, 1505},
        {ROW_FAC_MIN, "49.80", ParamInput::Accepted, 4980},
        {ROW_VPV_START, "130", ParamInput::Accepted, 1300},
        {ROW_VPV_START, "180", ParamInput::Accepted, 1800},
        {ROW_VPV_START, "129", ParamInput::OutOfRange, 0},
        {ROW_VPV_START, "180.01", ParamInput::OutOfRange, 0},
        {ROW_T_START, "20.5", ParamInput::TooManyPoints, 0},
        {ROW_T_START, "20.", ParamInput::TooManyPoints, 0},
        {ROW_VPV_START, "150.5.", ParamInput::TooManyPoints, 0},
        // Digits beyond the row's decimals are cut, not rounded.
        {ROW_VPV_START, "150.59", ParamInput::Accepted, 1505},
        // Typed decimals that binary doubles hold just below their value.
        {ROW_FAC_MAX, "51.37", ParamInput::Accepted, 5137},
        {ROW_FAC_MAX, "51.91", ParamInput::Accepted, 5191},
        {ROW_T_START, " 200 s", ParamInput::Accepted, 200},
        {ROW_T_START, "1e2", ParamInput::Accepted, 100},
        {ROW_T_START, "", ParamInput::OutOfRange, 0},
        {ROW_T_START, "abc", ParamInput::OutOfRange, 0},
        {ROW_T_START, "nan", ParamInput::OutOfRange, 0},
    };
    for (const InputCase& input : cases) {
        std::uint16_t raw = 0;
        EXPECT_EQ(ReadParamInput(input.text, ParamRows()[input.row], &raw), input.expected)
            << input.text;
        EXPECT_EQ(raw, input.raw) << input.text;
    }
}

} // namespace
