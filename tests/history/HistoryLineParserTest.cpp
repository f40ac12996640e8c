#include "store/HistoryLineParser.h"

#include <gtest/gtest.h>
#include <string>

namespace {

const std::string SINGLE =
    "2012/06/14 12:00:00, 25.3,360.5,230.1,  4.3, 50.01,    987,   512,     3.45,   12345.6,  4321,"
    "0,0,0,0\r\n";
const std::string THREE =
    "2026/08/29 12:23:00, -2.5,229.8,  2.8, 50.02,   1919,NA,    1082.2,     8.11,248334,"
    "599.7,599.7,590.7,581.7,  1.1,  1.1,  1.1,659,649,639,229.8,232.4,230.6,  2.8,  2.8,  2.8,"
    "0,0,0,0\r\n";

TEST(HistoryLineParser, ReadsBothKindsInTheirColumnOrder) {
    const auto single = ParseHistoryLine(SINGLE);
    ASSERT_TRUE(single);
    EXPECT_EQ(single->time.DayKey(), 20120614);
    EXPECT_EQ(single->time.hour * 3600 + single->time.minute * 60 + single->time.second, 43200);
    EXPECT_EQ(single->phases, 1);
    EXPECT_EQ(single->tempTenths, 253);
    EXPECT_EQ(single->powerW, 987);
    EXPECT_EQ(single->eTodayWh, 3450);
    EXPECT_EQ(single->eTotalWh, 12345600);

    const auto three = ParseHistoryLine(THREE);
    ASSERT_TRUE(three);
    EXPECT_EQ(three->phases, 3);
    EXPECT_EQ(three->tempTenths, -25);
    EXPECT_EQ(three->powerW, 1919);
    EXPECT_EQ(three->eTodayWh, 8110);
    EXPECT_EQ(three->eTotalWh, 1082200);
}

// Anything but a whole data line is left out, never half read.
TEST(HistoryLineParser, RejectsWhatIsNotAWholeDataLine) {
    const std::string cases[] = {
        "",
        "  Time,Temp(C),Vpv(V),Vac(V),Iac(A),Fac(Hz),Pac(W),Zac(mOhm),E-Today(kWh),E-Total(kWh),"
        "h-Total(h),Radiation(w/m*2),WindSpeed(m/s),EnvironmentTemp(C),ModuleTemp(C)\r\n",
        SINGLE.substr(0, 60),                         // cut short
        SINGLE.substr(0, SINGLE.size() - 4) + "\r\n", // last field gone
        "hello,world\r\n",
        SINGLE.substr(0, SINGLE.size() - 2) + ",0\r\n", // 16 fields
        "2012/13/14 12:00:00" + SINGLE.substr(19),      // month 13
        "2013/02/29 12:00:00" + SINGLE.substr(19),      // no such day
        "2012/06/14 24:00:00" + SINGLE.substr(19),
        "2012-06-14 12:00:00" + SINGLE.substr(19),
        SINGLE.substr(0, 20) + "25.3x" + SINGLE.substr(25), // not a number
        SINGLE.substr(0, 20) + "  NA" + SINGLE.substr(25),  // NA only for the impedance
        SINGLE.substr(0, 70) + "-3.45" + SINGLE.substr(75), // negative counter
        SINGLE.substr(0, 71) + "3.456" + SINGLE.substr(75), // more decimals than written
        std::string("2012/06/14 12:00:00,\0,", 22) + SINGLE.substr(22),
        SINGLE.substr(0, 20) + std::string(40, '4') + SINGLE.substr(25), // past any counter
    };
    for (const std::string& line : cases) {
        EXPECT_FALSE(ParseHistoryLine(line)) << line;
    }
}

} // namespace
