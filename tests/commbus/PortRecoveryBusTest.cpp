#include "CommBusFixture.h"
#include "SimComparison.h"
#include "comm/WindowMessages.h"

using namespace std::chrono_literals;

namespace {
// From an offline query until the next attempt has been answered: the 10 s
// period, up to 1 s for whole-second time, one poll cycle of a single
// inverter, and the reply's read time-out.
constexpr auto REGISTRATION_ATTEMPT_WINDOW = 12s;
} // namespace

TEST_F(CommBusFixture, VanishedPortIsRetriedUntilItIsRestored) {
    StartBus(1);
    station->Start();
    ASSERT_TRUE(AwaitPolledRecords(1, 10s));

    ASSERT_EQ(plant->Execute("vanish COM5"), "ok");
    ASSERT_TRUE(WaitUntil([&] { return station->Group().m_bPortOpen == 0; }, 5s));
    EXPECT_FALSE(station->ThreadFinished());

    ASSERT_EQ(plant->Execute("restore COM5").substr(0, 2), "ok");
    ASSERT_TRUE(WaitUntil([&] { return station->Group().m_bPortOpen == 1; }, 5s));
    // The inverters kept their addresses: polling simply resumes.
    ASSERT_TRUE(AwaitNextDecodedPoll(5s));
    const auto records = station->Inverters();
    ASSERT_EQ(records.size(), 1U);
    EXPECT_TRUE(records[0].online);
    ExpectSampleMatches(records[0], plant->Unit(1));
}

// A restarted simulator is a plant whose inverters all lost their addresses.
// The station re-opens the port, and the next registration attempt gives the
// inverter its record's address again: no new record, no new address.
TEST_F(CommBusFixture, RestartedSimulatorIsReachedThroughTheReopenedPort) {
    StartBus(1);
    station->Start();
    ASSERT_TRUE(AwaitPolledRecords(1, 10s));
    CInverter* record = station->Record(0);

    plant->Stop();
    ASSERT_TRUE(WaitUntil([&] { return station->Group().m_bPortOpen == 0; }, 5s));
    ASSERT_TRUE(plant->Start());
    ASSERT_TRUE(WaitUntil([&] { return station->Group().m_bPortOpen == 1; }, 5s));
    EXPECT_FALSE(station->ThreadFinished());

    ASSERT_TRUE(
        WaitUntil([&] { return plant->Unit(1).address == 1; }, REGISTRATION_ATTEMPT_WINDOW));
    ASSERT_TRUE(AwaitNextDecodedPoll(5s));
    const auto records = station->Inverters();
    ASSERT_EQ(records.size(), 1U);
    EXPECT_EQ(records[0].record, record);
    EXPECT_EQ(station->List().Count(WM_INVERTER_REGISTERED), 1);
    EXPECT_EQ(station->Group().m_nNextAddress, 2);
    ExpectSampleMatches(records[0], plant->Unit(1));
}
