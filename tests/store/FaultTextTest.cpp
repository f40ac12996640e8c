#include "store/FaultText.h"

#include <gtest/gtest.h>

namespace {

TEST(FaultText, LowestSetBitWins) {
    EXPECT_EQ(FaultText((1U << 9) | (1U << 10)), "Grid voltage =0");
    EXPECT_EQ(FaultText(0xFFFFFFFFU), "The GFCI detection circuit is abnormal");
    EXPECT_EQ(FaultText(0), "");
}

TEST(FaultText, EveryBitHasItsText) {
    const std::pair<int, const char*> samples[] = {
        {1, "The DC output sensor is abnormal"},
        {2, "The 2.5V reference inside are abnormal"},
        {7, "Device Fault"},
        {8, "Delta GridZ Fault"},
        {12, "Master and Slave firmware version is unmatch"},
        {13, "Over temperature fault"},
        {18, "Isolation resistance of PV-plant out of tolerable range before connecting to the "
             "grid"},
        {20, "Different value between Master and Slave for dI, Fac, Uac or Zac"},
        {24, "memory space is full"},
        {29, "The master-frequency is out of tolerable range"},
        {30, "EEPROM cannot be read or written"},
        {31, "Communication between microcontrollers is failing"},
    };
    for (const auto& [bit, text] : samples) {
        EXPECT_EQ(FaultText(1U << bit), text) << bit;
    }
    for (int bit = 0; bit < 32; ++bit) {
        EXPECT_FALSE(FaultText(1U << bit).empty()) << bit;
    }
}

TEST(ModeText, FourModesAndNothingElse) {
    EXPECT_EQ(ModeText(0), "Wait");
    EXPECT_EQ(ModeText(1), "Normal");
    EXPECT_EQ(ModeText(2), "Fault");
    EXPECT_EQ(ModeText(3), "Permanent Fault");
    EXPECT_EQ(ModeText(4), "");
    EXPECT_EQ(ModeText(-1), "");
}

} // namespace
