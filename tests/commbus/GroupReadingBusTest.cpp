#include "CommBusFixture.h"

#include <thread>

using namespace std::chrono_literals;

// The user interface walks the group under its lock and reads every wide
// field while the thread registers, describes and polls. Run under the thread
// sanitizer, this is where a missing lock shows.
TEST_F(CommBusFixture, ViewsReadTheGroupWhileItIsRegisteredAndPolled) {
    StartBus(1);
    station->Start();
    const sim::InverterProfile profile = plant->Unit(1).profile;

    int walks = 0;
    int torn = 0;
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (station->DecodedPolls() < 5 && std::chrono::steady_clock::now() < deadline) {
        for (const InverterSnapshot& record : station->Inverters()) {
            const bool modelWhole = record.model.empty() || record.model == profile.model;
            const bool formatWhole =
                record.runtimeFormat.empty() || record.runtimeFormat == profile.runtimeFields;
            torn += modelWhole && formatWhole && record.serialNo == profile.serialNo ? 0 : 1;
        }
        ++walks;
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_GE(station->DecodedPolls(), 5);
    EXPECT_GT(walks, 100);
    EXPECT_EQ(torn, 0);
    const auto records = station->Inverters();
    ASSERT_EQ(records.size(), 1U);
    EXPECT_GE(records[0].seriesSamples, 4U);
}
