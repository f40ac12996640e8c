#include "CommBusFixture.h"

#include "SimComparison.h"
#include "comm/CommShared.h"
#include "platform/ExitEvent.h"
#include "platform/PortDirectory.h"

#include <algorithm>

void CommBusFixture::SetUp() {
    g_viewsCreated = 1;
    g_nInterval = 1;
    g_hExitEvent.Reset();
}

void CommBusFixture::TearDown() {
    if (station) {
        station->Stop();
    }
    station.reset();
    plant.reset();
    SetPortDirectory("");
    g_viewsCreated = 0;
    g_nInterval = 2;
    g_bFastReplies = false;
}

void CommBusFixture::StartBus(int inverters, bool wireTime) {
    plant = std::make_unique<SimulatedPlant>(PORT, inverters, wireTime);
    ASSERT_TRUE(plant->Start());
    SetPortDirectory(plant->PortDirectory());
    station = std::make_unique<BusStation>(PORT);
}

bool CommBusFixture::AwaitPolledRecords(std::size_t count, std::chrono::milliseconds timeout) {
    return WaitUntil(
        [&] {
            const auto records = station->Inverters();
            return records.size() == count &&
                   std::all_of(records.begin(), records.end(), [](const auto& record) {
                       return record.Described() && record.Sampled();
                   });
        },
        timeout);
}

void CommBusFixture::ExpectRecordsAsSimulated(const std::vector<InverterSnapshot>& records) const {
    for (std::size_t index = 0; index < records.size(); ++index) {
        const int position = static_cast<int>(index) + 1;
        SCOPED_TRACE(position);
        const SimUnit unit = plant->Unit(position);
        EXPECT_EQ(unit.address, position);
        ExpectDescriptionMatches(records[index], unit);
        ExpectSampleMatches(records[index], unit);
        EXPECT_TRUE(records[index].online);
    }
}

bool CommBusFixture::AwaitNextDecodedPoll(std::chrono::milliseconds timeout) {
    const int before = station->DecodedPolls();
    return WaitUntil([&] { return station->DecodedPolls() > before; }, timeout);
}
