#include "CommBusFixture.h"
#include "SimComparison.h"
#include "comm/WindowMessages.h"

#include <thread>

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
// The station re-opens the port, but it keeps the old record, so it refuses
// the inverter's serial number as already registered and never re-registers
// it by itself; removing the record lets the next attempt take it back under a
// new address.
TEST_F(CommBusFixture, RestartedSimulatorIsReachedThroughTheReopenedPort) {
    StartBus(1);
    station->Start();
    ASSERT_TRUE(WaitUntil([&] { return station->List().Count(WM_INVERTER_REGISTERED) == 1; }, 5s));
    const auto firstAttempt = std::chrono::steady_clock::now();
    ASSERT_TRUE(AwaitPolledRecords(1, 10s));
    CInverter* oldRecord = station->Record(0);

    plant->Stop();
    ASSERT_TRUE(WaitUntil([&] { return station->Group().m_bPortOpen == 0; }, 5s));
    ASSERT_TRUE(plant->Start());
    ASSERT_TRUE(WaitUntil([&] { return station->Group().m_bPortOpen == 1; }, 5s));
    EXPECT_FALSE(station->ThreadFinished());
    const int decodedBeforeRestart = station->DecodedPolls();

    // Nothing to wait for: the refusal leaves no trace but its absence.
    std::this_thread::sleep_until(firstAttempt + REGISTRATION_ATTEMPT_WINDOW);
    ASSERT_EQ(station->Inverters().size(), 1U);
    EXPECT_EQ(station->Inverters()[0].address, 1);
    EXPECT_EQ(station->List().Count(WM_INVERTER_REGISTERED), 1);
    EXPECT_EQ(plant->Unit(1).address, 0);
    EXPECT_EQ(station->DecodedPolls(), decodedBeforeRestart);

    oldRecord->m_bRemoveRequest = 1;
    ASSERT_TRUE(WaitUntil([&] { return station->Inverters().empty(); }, 5s));
    EXPECT_TRUE(station->Notifier().Texts().empty()); // nobody answered the removal

    ASSERT_TRUE(AwaitPolledRecords(1, 15s));
    const auto records = station->Inverters();
    EXPECT_EQ(records[0].address, 2);
    EXPECT_EQ(plant->Unit(1).address, 2);
    ExpectSampleMatches(records[0], plant->Unit(1));
}
