#include "FakeClock.h"
#include "Recorders.h"
#include "ScriptedPort.h"
#include "comm/CommShared.h"
#include "comm/WindowMessages.h"
#include "model/InverterGroup.h"
#include "model/SingleRuntimeData.h"
#include "platform/DataDirectory.h"
#include "platform/ExitEvent.h"
#include "store/HeliowatchDoc.h"
#include "store/PaneTargets.h"
#include "store/PlantTotals.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <list>
#include <mutex>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* base = std::getenv("HELIOWATCH_TEST_TMP");
        directory = fs::path(base != nullptr ? base : "/tmp") /
                    ("doc-" + std::to_string(::getpid()) + "-" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory);
        fs::create_directories(directory);
        SetDataDirectory(directory.string());
        settingsPath = (directory / "Heliowatch.ini").string();
        // Threads find no views and end at once, in virtual time.
        g_viewsCreated = 0;
        g_nInterval = 2;
        environment.clock = &clock;
        environment.notifier = &notifier;
        // Each thread gets a wire of its own: a scripted wire is single-threaded.
        environment.makePort = [this](const SerialSettings&) -> std::unique_ptr<SerialPort> {
            std::lock_guard lock(wiresLock);
            return std::make_unique<ScriptedPort>(wires.emplace_back(), clock);
        };
        g_hGeneralStatusWnd = &general;
        g_hTodayEnergyWnd = &today;
        g_hPowerWnd = &power;
    }
    void TearDown() override {
        g_hGeneralStatusWnd = nullptr;
        g_hTodayEnergyWnd = nullptr;
        g_hPowerWnd = nullptr;
        g_hExitEvent.Reset();
        fs::remove_all(directory);
    }
    void WriteSettings(const std::string& text) { std::ofstream(settingsPath) << text; }
    std::string ReadSettings() const {
        std::ifstream file(settingsPath);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
    std::unique_ptr<CHeliowatchDoc> Open() {
        auto document = std::make_unique<CHeliowatchDoc>(environment, settingsPath);
        std::string problem;
        EXPECT_TRUE(document->OnNewDocument(&problem)) << problem;
        return document;
    }

    fs::path directory;
    std::string settingsPath;
    FakeClock clock{1'800'000'000};
    std::mutex wiresLock;
    std::list<ScriptedWire> wires;
    RecordingNotifier notifier;
    RecordingTarget general, today, power;
    CommEnvironment environment;
};

TEST_F(DocumentTest, EnabledPortsBecomeGroupsInPortOrder) {
    WriteSettings("[Com7]\nEnable=1\n"
                  "[Com3]\nEnable=1\nEnvironmentCom=5\n"
                  "[Com4]\nEnable=2\n"
                  "[Com20]\nEnable=1\n"
                  "[Interval]\nInterval=0\n");
    auto document = Open();
    const auto groups = document->GetGroups();
    ASSERT_EQ(groups.size(), 2U);
    EXPECT_EQ(groups[0]->m_nComPort, 3);
    EXPECT_EQ(groups[0]->m_nBaudRate, 9600);
    EXPECT_EQ(groups[0]->m_nDataBits, 8);
    EXPECT_EQ(groups[0]->m_bEnvEnabled, 1);
    EXPECT_EQ(groups[0]->m_nEnvComPort, 5);
    EXPECT_EQ(groups[1]->m_nComPort, 7);
    EXPECT_EQ(groups[1]->m_bEnvEnabled, 0);
    EXPECT_EQ(document->GetInterval(), 2);
    EXPECT_TRUE(fs::is_directory(directory / "HistLog"));
}

TEST_F(DocumentTest, MissingSettingsGiveDefaults) {
    auto document = Open();
    EXPECT_TRUE(document->GetGroups().empty());
    EXPECT_EQ(document->GetInterval(), 2);
    EXPECT_FALSE(fs::exists(settingsPath));
}

TEST_F(DocumentTest, APortCountsAsLostOnlyOnceItHasFailed) {
    CHeliowatchDoc document(environment, settingsPath);
    document.AddPortGroup(3, 0);
    CInverterGroup& group = *document.GetGroups().front();
    EXPECT_EQ(ReadPlantTotals(document, 0).portsLost, 0) << "not tried yet";
    group.SwapPortProblem("/dev/ttyUSB0: No such file or directory");
    EXPECT_EQ(ReadPlantTotals(document, 0).portsLost, 1);
    group.SwapPortProblem("");
    group.m_bPortOpen = 1;
    EXPECT_EQ(ReadPlantTotals(document, 0).portsLost, 0);
}

TEST_F(DocumentTest, UnreadableSettingsAreAClearErrorAndStartNothing) {
    fs::create_directories(settingsPath); // a directory where the file should be
    CHeliowatchDoc document(environment, settingsPath);
    std::string problem;
    EXPECT_FALSE(document.OnNewDocument(&problem));
    EXPECT_NE(problem.find(settingsPath), std::string::npos);
    EXPECT_TRUE(document.GetGroups().empty());
}

TEST_F(DocumentTest, MalformedSettingsNameTheLine) {
    WriteSettings("[Interval]\nInterval=3\n[Com3\nEnable=1\n");
    CHeliowatchDoc document(environment, settingsPath);
    std::string problem;
    EXPECT_FALSE(document.OnNewDocument(&problem));
    EXPECT_NE(problem.find("malformed: line 3"), std::string::npos) << problem;
    EXPECT_EQ(g_nInterval, 2);

    WriteSettings("; comment\n\n[Com3]\n  Enable = 1 \n# another\n");
    auto accepted = Open();
    EXPECT_EQ(accepted->GetGroups().size(), 1U);
}

// Values that once wrapped to 1 s or an enabled port.
TEST_F(DocumentTest, SettingsOutsideTheirRangeKeepTheDefaults) {
    WriteSettings("[Interval]\nInterval=4294967297\n"
                  "[Com3]\nEnable=4294967297\n"
                  "[Com4]\nEnable=1\nEnvironmentCom=4294967301\n");
    testing::internal::CaptureStderr();
    auto document = Open();
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(document->GetInterval(), 2);
    const auto groups = document->GetGroups();
    ASSERT_EQ(groups.size(), 1U);
    EXPECT_EQ(groups[0]->m_nComPort, 4);
    EXPECT_EQ(groups[0]->m_bEnvEnabled, 0);
    for (const char* line :
         {" line 2: Interval=", " line 4: Enable=", " line 7: EnvironmentCom="}) {
        EXPECT_NE(warnings.find(settingsPath + line), std::string::npos) << line << warnings;
    }
}

TEST_F(DocumentTest, IntervalChangesAreAnnouncedAndAlwaysWritten) {
    WriteSettings("[Interval]\nInterval=5\n");
    auto document = Open();
    EXPECT_EQ(document->GetInterval(), 5);
    EXPECT_TRUE(document->SetInterval(5));
    EXPECT_EQ(general.Count(WM_INTERVAL_CHANGED), 0);
    EXPECT_NE(ReadSettings().find("Interval=5"), std::string::npos);

    EXPECT_TRUE(document->SetInterval(9));
    EXPECT_EQ(g_nInterval, 9);
    EXPECT_EQ(general.Count(WM_INTERVAL_CHANGED), 1);
    EXPECT_EQ(today.Count(WM_INTERVAL_CHANGED), 1);
    EXPECT_EQ(power.Count(WM_INTERVAL_CHANGED), 1);
    EXPECT_NE(ReadSettings().find("Interval=9"), std::string::npos);
}

TEST_F(DocumentTest, FastRepliesFollowTheBusSectionAndAreWritten) {
    for (const auto& [text, on] : {std::pair{"", false}, std::pair{"[Bus]\nFastReplies=1\n", true},
                                   std::pair{"[Bus]\nFastReplies=0\n", false}}) {
        WriteSettings(text);
        auto document = Open();
        EXPECT_EQ(document->GetFastReplies(), on) << text;
        EXPECT_EQ(g_bFastReplies, on) << text;
    }
    auto document = Open();
    EXPECT_TRUE(document->SetFastReplies(true));
    EXPECT_TRUE(g_bFastReplies);
    EXPECT_NE(ReadSettings().find("[Bus]\nFastReplies=1"), std::string::npos);
    g_bFastReplies = false;
}

TEST_F(DocumentTest, SavedPortSectionsFollowTheGroups) {
    auto document = Open();
    document->AddPortGroup(3, 5);
    document->AddPortGroup(4, 0);
    document->AddPortGroup(0, 0); // ignored
    ASSERT_EQ(document->GetGroups().size(), 2U);
    document->GetGroups()[1]->m_bStopRequest = 1;
    // A sensor change still pending on COM3's thread is saved as chosen.
    document->GetGroups()[0]->m_nNewEnvComPort = 6;
    document->GetGroups()[0]->m_bEnvChangeRequest = 1;
    EXPECT_TRUE(document->SaveComSettings());

    CHeliowatchDoc reread(environment, settingsPath);
    ASSERT_TRUE(reread.OnNewDocument());
    const auto groups = reread.GetGroups();
    ASSERT_EQ(groups.size(), 1U);
    EXPECT_EQ(groups[0]->m_nComPort, 3);
    EXPECT_EQ(groups[0]->m_nEnvComPort, 6);
    const std::string text = ReadSettings();
    EXPECT_NE(text.find("[Com4]\nEnable=0\nEnvironmentEnable=0\nEnvironmentCom=0\n"),
              std::string::npos)
        << text;
}

TEST_F(DocumentTest, TotalsCountEveryRecordButPowerOnlyHealthyCurrentOnes) {
    auto document = Open();
    // Its thread ends at once, before waiting for the views could move the
    // virtual clock, and leaves the inverter list to the test.
    g_hExitEvent.Set();
    document->AddPortGroup(3, 0);
    CInverterGroup& group = *document->GetGroups()[0];
    group.m_bPortOpen = 1;
    const std::time_t now = clock.Now();
    auto add = [&](int online, int errorState, std::uint16_t pac, std::uint16_t eToday,
                   std::time_t sampled = 0) {
        auto inverter = std::make_unique<CInverter>();
        auto data = std::make_unique<SingleRuntimeData>();
        data->m_nPac = pac;
        data->m_nEToday = eToday;
        data->m_dwETotal = 10;
        data->m_tSample = sampled != 0 ? sampled : now;
        inverter->m_pRuntimeData = std::move(data);
        inverter->m_bOnline = online;
        inverter->m_nErrorState = errorState;
        group.AppendInverter(std::move(inverter));
    };
    add(1, 1, 1000, 150);
    add(0, 1, 2000, 200);                                // offline
    add(1, 2, 4000, 250);                                // last sample had error bits
    add(1, 1, 8000, 300, now - 3600);                    // stale: missed its polls
    group.AppendInverter(std::make_unique<CInverter>()); // never described
    EXPECT_DOUBLE_EQ(document->GetTotalPower(), 100.0);
    EXPECT_DOUBLE_EQ(document->GetTotalEToday(), 9.0);
    EXPECT_DOUBLE_EQ(document->GetTotalETotal(), 4.0);
}

TEST_F(DocumentTest, CloseEndsEveryThreadBeforeTheGroupsGo) {
    g_viewsCreated = 1;
    auto document = Open();
    document->AddPortGroup(3, 0);
    document->AddPortGroup(4, 0);
    const auto started = std::chrono::steady_clock::now();
    document->OnCloseDocument();
    EXPECT_TRUE(document->GetGroups().empty());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
    g_viewsCreated = 0;
}

} // namespace
