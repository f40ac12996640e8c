#include "IdleEnvironment.h"
#include "Recorders.h"
#include "comm/CommShared.h"
#include "comm/WindowMessages.h"
#include "model/InverterGroup.h"
#include "platform/DataDirectory.h"
#include "platform/ExitEvent.h"
#include "platform/PortDirectory.h"
#include "station/HeadlessStation.h"
#include "store/HeliowatchDoc.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// Drives the station's message handling with records the test changes by
// hand.
class HeadlessStationEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_viewsCreated = 0;
        SetDataDirectory(::testing::TempDir());
        document =
            std::make_unique<CHeliowatchDoc>(environment, ::testing::TempDir() + "/none.ini");
        document->AddPortGroup(5, 0);
        group = document->GetGroups()[0];
        out = open_memstream(&text, &size);
        station = std::make_unique<HeadlessStation>(*document, queue, out);
    }
    void TearDown() override {
        station.reset();
        document.reset();
        std::fclose(out);
        std::free(text);
        g_hExitEvent.Reset();
    }
    CInverter* AddInverter(std::uint8_t address, const std::string& serial) {
        auto inverter = group->CreateInverter(address);
        inverter->m_strSerialNo = serial;
        return group->AppendInverter(std::move(inverter));
    }
    void Deliver(unsigned message, const void* subject) {
        queue.Post(message, reinterpret_cast<std::uintptr_t>(subject));
        station->Step(std::chrono::milliseconds(0));
    }
    std::string Output() {
        std::fflush(out);
        return std::string(text, size);
    }

    RecordingNotifier notifier;
    CommEnvironment environment = IdleEnvironment(notifier);
    std::unique_ptr<CHeliowatchDoc> document;
    CInverterGroup* group = nullptr;
    MessageQueue queue;
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = nullptr;
    std::unique_ptr<HeadlessStation> station;
};

TEST_F(HeadlessStationEventsTest, PrintsEachTransitionOnce) {
    CInverter* inverter = AddInverter(4, "AB 12\x01");
    Deliver(WM_INVERTER_REGISTERED, inverter);
    Deliver(WM_INVERTER_UPDATED, inverter); // described, not yet polled
    inverter->m_bOnline = 1;
    Deliver(WM_INVERTER_UPDATED, inverter);
    Deliver(WM_INVERTER_UPDATED, inverter);
    inverter->m_nLastMode = 2;
    Deliver(WM_INVERTER_UPDATED, inverter);
    inverter->m_nLastMode = 1;
    inverter->m_bOnline = 0;
    Deliver(WM_INVERTER_UPDATED, inverter);
    Deliver(WM_INVERTER_REMOVED, inverter);
    group->RemoveInverter(inverter);
    Deliver(WM_INVERTER_UPDATED, inverter); // stale: ignored

    std::string expected;
    for (const char* event :
         {"registered", "online", "fault-opened", "offline", "fault-closed", "removed"}) {
        expected += std::string("COM5 4 AB_12_ ") + event + "\n";
    }
    std::string shown;
    std::istringstream lines(Output());
    for (std::string line; std::getline(lines, line);) {
        if (line.find(" COM5 4 ") != std::string::npos) {
            shown += line.substr(20) + "\n"; // after "YYYY/MM/DD HH:MM:SS "
        }
    }
    EXPECT_EQ(shown, expected);
}

TEST_F(HeadlessStationEventsTest, PortEventsAndPlantSummary) {
    group->m_bPortOpen = 1;
    station->Step(std::chrono::milliseconds(0));
    group->m_bPortOpen = 0;
    station->Step(std::chrono::milliseconds(0));
    AddInverter(1, "X1")->m_bOnline = 1;
    AddInverter(2, "X2");
    station->PrintPlantSummary();
    const std::string output = Output();
    EXPECT_NE(output.find(" COM5 - - port-opened\n"), std::string::npos);
    EXPECT_NE(output.find(" COM5 - - port-lost\n"), std::string::npos);
    EXPECT_NE(output.find("\nplant "), std::string::npos);
    EXPECT_NE(output.find(" power=0.0W e-today=0.00kWh e-total=0.0kWh answering=1/2\n"),
              std::string::npos)
        << output;

    group->m_rejects.Count(ReplyCheck::BadChecksum);
    group->m_rejects.Count(ReplyCheck::BadChecksum);
    group->m_rejects.Count(ReplyCheck::NoSync);
    station->PrintPlantSummary();
    EXPECT_NE(Output().find(" answering=1/2 rejected[COM5]=no-sync-bytes:1,bad-checksum:2\n"),
              std::string::npos);
}

TEST_F(HeadlessStationEventsTest, AFailingPortIsToldOnceWithItsReasonAndItsRecoveryOnce) {
    group->SwapPortProblem("Permission denied: add the user to the dialout group");
    station->Step(std::chrono::milliseconds(0));
    station->Step(std::chrono::milliseconds(0));
    group->SwapPortProblem("");
    group->m_bPortOpen = 1;
    station->Step(std::chrono::milliseconds(0));
    const std::string output = Output();
    const std::string failed = " COM5 - - port-failed " + PortTarget(5) +
                               ": Permission denied: add the user to the dialout group\n";
    EXPECT_EQ(output.find(failed), output.rfind(failed)) << output;
    EXPECT_NE(output.find(failed), std::string::npos) << output;
    EXPECT_NE(output.find(" COM5 - - port-opened\n"), std::string::npos) << output;
}

} // namespace
