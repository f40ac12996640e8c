#include "CommBusFixture.h"
#include "SimComparison.h"
#include "comm/WindowMessages.h"

using namespace std::chrono_literals;

TEST_F(CommBusFixture, ThreeInvertersAreRegisteredInTurnAndPolledAsTheSimulatorSent) {
    // Switched on one after another, as in the morning, so that no two of
    // them answer the same offline query.
    StartBus(3);
    ASSERT_TRUE(plant->SwitchOff(2));
    ASSERT_TRUE(plant->SwitchOff(3));
    station->Start();
    for (int position = 1; position <= 3; ++position) {
        // One registration per attempt, an attempt every 10 s.
        ASSERT_TRUE(WaitUntil(
            [&] { return station->Inverters().size() == static_cast<std::size_t>(position); },
            15s));
        if (position < 3) {
            ASSERT_TRUE(plant->SwitchOn(position + 1));
        }
    }
    ASSERT_TRUE(AwaitPolledRecords(3, 5s));
    const auto records = station->Inverters();
    ExpectRecordsAsSimulated(records);
    for (const InverterSnapshot& record : records) {
        EXPECT_EQ(station->List().Count(WM_INVERTER_REGISTERED, record.record), 1);
    }
    // Neighbours do not share a reading.
    EXPECT_NE(records[0].sample->m_nPac, records[1].sample->m_nPac);
}

TEST_F(CommBusFixture, CollidingOfflineRepliesAreRejectedAndALaterAttemptRegisters) {
    StartBus(2);
    station->Start();

    // After a collision the simulator makes the later of the two sit out.
    ASSERT_TRUE(WaitUntil([&] { return plant->Unit(2).offlineBackoff > 0; }, 5s));
    EXPECT_TRUE(station->Inverters().empty());
    EXPECT_EQ(station->List().Count(WM_INVERTER_REGISTERED), 0);
    EXPECT_EQ(plant->Unit(1).address, 0);

    ASSERT_TRUE(AwaitPolledRecords(1, 15s));
    const auto records = station->Inverters();
    EXPECT_EQ(records[0].address, 1);
    EXPECT_EQ(records[0].serialNo, plant->Unit(1).profile.serialNo);
    EXPECT_EQ(plant->Unit(1).address, 1);
    EXPECT_EQ(plant->Unit(2).address, 0);
}
