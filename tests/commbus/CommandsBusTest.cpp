#include "CommBusFixture.h"
#include "SimComparison.h"
#include "comm/InverterCommands.h"
#include "comm/WindowMessages.h"

#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {
constexpr std::size_t VPV_START = 0; // slot of 0x40
constexpr std::size_t VAC_MIN = 4;   // slot of 0x44
constexpr std::size_t VAC_MAX = 5;   // slot of 0x45
} // namespace

class CommandsBusTest : public CommBusFixture {
protected:
    void SetUp() override {
        CommBusFixture::SetUp();
        StartBus(1);
        station->Start();
        ASSERT_TRUE(AwaitPolledRecords(1, 10s));
        record = station->Record(0);
    }

    InverterSnapshot Station() const { return station->Inverters().at(0); }

    CInverter* record = nullptr;
};

TEST_F(CommandsBusTest, ParameterWritesAreKeptOnlyWhenTheInverterAcknowledges) {
    const auto initial = plant->Unit(1).params;

    QueueParamWrite(*record, 0x44, 2000);
    ASSERT_TRUE(WaitUntil(
        [&] { return Station().params[VAC_MIN] == 2000 && plant->Unit(1).params[VAC_MIN] == 2000; },
        5s));

    {
        // Queued together: the newest goes out first, so once the accepted
        // write shows, the refused one has been answered.
        auto lock = record->Lock();
        QueueParamWrite(*record, 0x40, 1600);
        QueueParamWrite(*record, 0x45, 2900); // above the inverter's limit
    }
    ASSERT_TRUE(WaitUntil([&] { return Station().params[VPV_START] == 1600; }, 5s));
    EXPECT_EQ(plant->Unit(1).params[VPV_START], 1600);
    EXPECT_EQ(Station().params[VAC_MAX], initial[VAC_MAX]);
    EXPECT_EQ(plant->Unit(1).params[VAC_MAX], initial[VAC_MAX]);
}

TEST_F(CommandsBusTest, SerialNumberChangeAndResetOfTotalsReachTheInverter) {
    const std::string renamed = "HW-RENAMED-00001";
    RequestSerialChange(*record, renamed);
    ASSERT_TRUE(WaitUntil([&] { return record->m_bChangeSerialRequest == 0; }, 5s));
    EXPECT_EQ(Station().serialNo, renamed);
    EXPECT_EQ(plant->Unit(1).profile.serialNo, renamed);

    ASSERT_GT(Station().sample->m_dwETotal, 0U);
    ASSERT_GT(Station().sample->m_dwHTotal, 0U);
    record->m_bResetTotalsRequest = 1;
    ASSERT_TRUE(WaitUntil([&] { return !station->Notifier().Texts().empty(); }, 5s));
    EXPECT_EQ(station->Notifier().Texts(),
              std::vector<std::string>{"Reset e-total/h-total success"});
    // The station's copy follows with the next poll.
    ASSERT_TRUE(WaitUntil([&] { return Station().sample->m_dwETotal == 0; }, 5s));
    const SimUnit unit = plant->Unit(1);
    EXPECT_EQ(unit.reading.eTotal, 0U);
    EXPECT_EQ(unit.reading.hTotal, 0U);
    ExpectSampleMatches(Station(), unit);
}

TEST_F(CommandsBusTest, RemovedInverterReturnsUnderANewAddressAndStaysPolledAfterReconnectAll) {
    const std::string serialNo = Station().serialNo;
    record->m_bRemoveRequest = 1;
    ASSERT_TRUE(WaitUntil([&] { return station->Inverters().empty(); }, 5s));
    EXPECT_EQ(station->List().Count(WM_INVERTER_REMOVED, record), 1);
    EXPECT_EQ(station->Notifier().Texts(), std::vector<std::string>{"Remove inverter success!"});
    EXPECT_EQ(plant->Unit(1).address, 0);

    // The inverter answers the offline query again; addresses are never reused.
    ASSERT_TRUE(AwaitPolledRecords(1, 15s));
    EXPECT_EQ(Station().address, 2);
    EXPECT_EQ(Station().serialNo, serialNo);
    EXPECT_EQ(plant->Unit(1).address, 2);

    station->Group().m_bReconnectRequest = 1;
    ASSERT_TRUE(WaitUntil([&] { return station->Group().m_bReconnectRequest == 0; }, 5s));
    const int polled = station->DecodedPolls();
    ASSERT_TRUE(WaitUntil([&] { return station->DecodedPolls() > polled; }, 5s));
    EXPECT_EQ(plant->Unit(1).address, 2);
    ASSERT_EQ(station->Inverters().size(), 1U);
    EXPECT_EQ(Station().address, 2);
}
