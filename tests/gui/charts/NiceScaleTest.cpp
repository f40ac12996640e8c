#include "charts/NiceScale.h"

#include <gtest/gtest.h>

namespace {

TEST(NiceScaleMaxTest, RaisesTheMaximumToAScaleTopAndTheMinimumToZero) {
    const std::pair<double, double> table[] = {
        {0, 1},         {0.99, 1},   {1, 10},          {5.3, 10},        {10, 10},
        {10.5, 20},     {15, 20},    {99, 100},        {100, 100},       {101, 110},
        {150, 200},     {999, 1000}, {1001, 1100},     {1100, 2000},     {2345, 3000},
        {10000, 10000}, {-3, 1},     {10.0000001, 10}, {100001, 110000}, {110000, 200000}};
    for (const auto& [given, top] : table) {
        double minimum = -5.0;
        double maximum = given;
        NiceScaleMax(&minimum, &maximum);
        EXPECT_EQ(maximum, top) << "for " << given;
        EXPECT_EQ(minimum, 0.0);
    }
}

} // namespace
