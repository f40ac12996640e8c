#include "station/ServiceStatusLine.h"

#include "store/PlantTotals.h"

#include <gtest/gtest.h>

namespace {

TEST(ServiceStatusLineTest, ThePlantInOneLine) {
    struct Case {
        int reporting, registered, faults, portsLost;
        double powerW;
        const char* line;
    };
    const Case cases[] = {
        {380, 380, 2, 0, 163'400.0, "380 of 380 reporting, 2 faults, 163 kW"},
        {2, 3, 1, 0, 4'250.0, "2 of 3 reporting, 1 fault, 4.2 kW"},
        {0, 0, 0, 0, 0.0, "0 of 0 reporting, 0 faults, 0.0 kW"},
        {1, 5, 0, 2, 9'960.0, "1 of 5 reporting, 0 faults, 10.0 kW, 2 ports lost"},
    };
    for (const Case& c : cases) {
        PlantTotals totals;
        totals.reporting = c.reporting;
        totals.registered = c.registered;
        totals.faults = c.faults;
        totals.portsLost = c.portsLost;
        totals.powerW = c.powerW;
        EXPECT_EQ(ServiceStatusLine(totals), c.line);
    }
}

TEST(ServiceStatusLineTest, NothingToPollSaysWhatToEdit) {
    EXPECT_EQ(NoPortAdvice("/nonexistent/Heliowatch.ini"),
              "no settings file: create /nonexistent/Heliowatch.ini and set [ComN] Enable=1; see "
              "heliowatch --list-ports");
    EXPECT_EQ(NoPortAdvice("/dev/null"),
              "no port is enabled: edit /dev/null and set [ComN] Enable=1; see heliowatch "
              "--list-ports");
}

} // namespace
