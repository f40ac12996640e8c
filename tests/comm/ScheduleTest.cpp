#include "CommFixture.h"
#include "platform/PortDirectory.h"

#include <algorithm>
#include <map>

namespace {

class ScheduleTest : public CommFixture {
protected:
    std::vector<std::int64_t> SentTimes(std::uint8_t control, std::uint8_t function) const {
        std::vector<std::int64_t> times;
        for (const auto& sent : wire.sent) {
            if (sent.message.Control() == control && sent.message.Function() == function) {
                times.push_back(sent.atMs);
            }
        }
        return times;
    }
};

TEST_F(ScheduleTest, AnnouncesItselfWithThreeReRegisterBroadcasts) {
    EXPECT_EQ(RunFor(1), 0);
    ASSERT_GE(wire.sent.size(), 4U);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(wire.sent[i].message.Function(), FN_RE_REGISTER);
        EXPECT_EQ(wire.sent[i].message.Destination(), BROADCAST_ADDRESS);
    }
    EXPECT_EQ(wire.sent[3].message.Function(), FN_OFFLINE_QUERY);
    EXPECT_EQ(wire.opens, 1);
    EXPECT_EQ(group.m_bPortOpen, 1);
}

TEST_F(ScheduleTest, EmptyBusReRegistersAfterSeventeenIdleAttempts) {
    RunFor(175);
    const auto attempts = SentTimes(CTRL_REGISTER, FN_OFFLINE_QUERY);
    ASSERT_GE(attempts.size(), 17U);
    for (std::size_t i = 1; i < attempts.size(); ++i) {
        EXPECT_GE(attempts[i] - attempts[i - 1], 9000); // whole seconds
        EXPECT_LT(attempts[i] - attempts[i - 1], 11000);
    }
    const auto broadcasts = SentTimes(CTRL_REGISTER, FN_RE_REGISTER);
    ASSERT_EQ(broadcasts.size(), 4U);
    EXPECT_GT(broadcasts[3], attempts[16]);
    EXPECT_LT(broadcasts[3], attempts[16] + 1000);
}

TEST_F(ScheduleTest, IdleReRegisterStaysOffAfterRemovalUntilReconnect) {
    plant.Add("GONE");
    bool removed = false;
    bool reconnected = false;
    RunFor(400, [&] {
        CInverter* inverter = Inverter(0);
        if (inverter != nullptr && inverter->m_bOnline && !removed) {
            inverter->m_bRemoveRequest = 1;
            removed = true;
        }
        if (removed && inverter == nullptr) {
            plant.inverters.clear();
        }
        if (clock.ElapsedMs() >= 200000 && !reconnected) {
            EXPECT_EQ(CountSent(CTRL_REGISTER, FN_RE_REGISTER), 3U); // the start, no idle one
            group.m_bReconnectRequest = 1;
            reconnected = true;
        }
    });
    EXPECT_EQ(CountSent(CTRL_REGISTER, FN_RECONNECT_ALL), 1U);
    EXPECT_GE(CountSent(CTRL_REGISTER, FN_RE_REGISTER), 4U);
}

TEST_F(ScheduleTest, PollsEveryIntervalFromTheStartOfTheCycle) {
    plant.Add("P1");
    RunFor(9);
    const auto polls = SentTimes(CTRL_READ, FN_READ_RUNTIME_DATA);
    ASSERT_GE(polls.size(), 3U);
    for (std::size_t i = 1; i < polls.size(); ++i) {
        EXPECT_GE(polls[i] - polls[i - 1], 1000);
        EXPECT_LE(polls[i] - polls[i - 1], 2100);
    }
}

TEST_F(ScheduleTest, LongCyclesFollowEachOtherAndRegistrationStillRuns) {
    for (const char* serial : {"C1", "C2", "C3", "C4"}) {
        plant.Add(serial);
    }
    RunFor(45);
    ASSERT_EQ(group.Inverters().size(), 4U);
    g_nInterval = 1;
    wire.sent.clear();
    RunFor(30);
    // Each cycle of four polls lasts about 1.5 s, more than the interval:
    // the next one starts within a loop pass or a registration attempt.
    const auto polls = SentTimes(CTRL_READ, FN_READ_RUNTIME_DATA);
    ASSERT_GE(polls.size(), 60U);
    for (std::size_t i = 4; i < polls.size(); i += 4) {
        EXPECT_LT(polls[i] - polls[i - 1], 900) << "cycle " << i / 4;
    }
    EXPECT_GE(CountSent(CTRL_REGISTER, FN_OFFLINE_QUERY), 3U);
}

TEST_F(ScheduleTest, RegistrationKeepsItsPeriodWhileAFullBusPollsWithoutPause) {
    for (int i = 1; i <= 20; ++i) {
        plant.Add("FULL" + std::to_string(i));
    }
    RunFor(260);
    ASSERT_EQ(group.Inverters().size(), 20U);
    g_nInterval = 1;
    wire.sent.clear();
    RunFor(60);
    const auto attempts = SentTimes(CTRL_REGISTER, FN_OFFLINE_QUERY);
    ASSERT_GE(attempts.size(), 5U);
    for (std::size_t i = 1; i < attempts.size(); ++i) {
        EXPECT_LT(attempts[i] - attempts[i - 1], 10500) << "attempt " << i;
    }
}

TEST_F(ScheduleTest, FastModeRegistersOneAfterAnotherUntilAnAttemptFindsNobody) {
    g_bFastReplies = true;
    for (const char* serial : {"Q1", "Q2", "Q3", "Q4"}) {
        plant.Add(serial);
    }
    RunFor(25);
    ASSERT_EQ(group.Inverters().size(), 4U);
    const auto attempts = SentTimes(CTRL_REGISTER, FN_OFFLINE_QUERY);
    ASSERT_GE(attempts.size(), 7U);
    // Four answered attempts, each followed at once; the fifth found nobody.
    for (std::size_t i = 1; i < 5; ++i) {
        EXPECT_LT(attempts[i] - attempts[i - 1], 1000) << "attempt " << i;
    }
    EXPECT_GE(attempts[5] - attempts[4], 9000);
    EXPECT_GE(attempts[6] - attempts[5], 9000);
}

TEST_F(ScheduleTest, FastModeKeepsReadingsFreshThroughALongRunOfRegistrations) {
    g_bFastReplies = true;
    g_nInterval = 1;
    for (int i = 0; i < 20; ++i) {
        plant.Add("LONG" + std::to_string(i));
    }
    // Every answer comes 20 ms late: a registration takes about 0.3 s.
    wire.timedResponder = [this](const BusMessage& request) {
        return std::vector<ScriptedWire::Burst>{{20, plant.Answer(request)}};
    };
    RunFor(20);
    ASSERT_EQ(group.Inverters().size(), 20U);
    const auto lastRegistration = SentTimes(CTRL_REGISTER, FN_SEND_ADDRESS).back();
    // Twenty registrations alone take six seconds; cycles as often as the
    // interval would take nearly five more.
    EXPECT_LT(lastRegistration - wire.sent.front().atMs, 8500);
    std::map<int, std::vector<std::int64_t>> pollsByAddress;
    for (const auto& sent : wire.sent) {
        if (sent.message.Function() == FN_READ_RUNTIME_DATA && sent.atMs <= lastRegistration) {
            pollsByAddress[sent.message.Destination()].push_back(sent.atMs);
        }
    }
    ASSERT_GE(pollsByAddress[1].size(), 3U);
    // Two intervals and a cycle of less than a second: a reading is stale
    // after three seconds.
    for (const auto& [address, polls] : pollsByAddress) {
        for (std::size_t i = 1; i < polls.size(); ++i) {
            EXPECT_LE(polls[i] - polls[i - 1], 3000) << "address " << address << " poll " << i;
        }
    }
}

TEST_F(ScheduleTest, WallClockStepsDelayNoPollByMoreThanAnInterval) {
    plant.Add("STEP");
    // The station starts with its clock in 1999; later steps come between runs.
    const std::chrono::seconds steps[] = {
        std::chrono::seconds(LocalTime(1999, 6, 1, 12, 0, 0) - clock.Now()),
        std::chrono::hours(1),
        -std::chrono::hours(1),
        std::chrono::hours(27 * 365 * 24),
    };
    for (const std::chrono::seconds step : steps) {
        clock.StepWall(step);
        wire.sent.clear();
        RunFor(25);
        const auto polls = SentTimes(CTRL_READ, FN_READ_RUNTIME_DATA);
        ASSERT_GE(polls.size(), 10U) << "step " << step.count() << " s";
        // An interval, and at most one registration attempt that went first.
        for (std::size_t i = 1; i < polls.size(); ++i) {
            EXPECT_GE(polls[i] - polls[i - 1], 1000) << "step " << step.count() << " s";
            EXPECT_LE(polls[i] - polls[i - 1], 2500) << "step " << step.count() << " s";
        }
        EXPECT_GE(CountSent(CTRL_REGISTER, FN_OFFLINE_QUERY), 2U);
    }
}

TEST_F(ScheduleTest, OfflineFromTheTwentyFirstFailureAndBackOnAnswer) {
    FakeInverter& fake = plant.Add("FLAKY");
    RunFor(4);
    CInverter& inverter = *Inverter(0);
    ASSERT_EQ(inverter.m_bOnline, 1);
    fake.silent = true;
    const int updatesBefore = list.Count(WM_INVERTER_UPDATED, &inverter);
    int failedPolls = 0;
    const std::size_t pollsBefore = CountSent(CTRL_READ, FN_READ_RUNTIME_DATA);
    RunFor(120, [&] {
        failedPolls = static_cast<int>(CountSent(CTRL_READ, FN_READ_RUNTIME_DATA) - pollsBefore);
        if (failedPolls == 20) {
            EXPECT_EQ(inverter.m_bOnline, 1);
        }
        if (failedPolls == 23) {
            g_hExitEvent.Set();
        }
    });
    EXPECT_EQ(inverter.m_bOnline, 0);
    EXPECT_EQ(list.Count(WM_INVERTER_UPDATED, &inverter) - updatesBefore, 3);

    fake.silent = false;
    RunFor(3);
    EXPECT_EQ(inverter.m_bOnline, 1);
    EXPECT_EQ(inverter.m_nFailCount, 0);
}

TEST_F(ScheduleTest, StopRequestClosesThePortsAndReportsTheGroup) {
    plant.Add("S");
    group.m_bEnvEnabled = 1;
    group.m_nEnvComPort = 5;
    EXPECT_EQ(RunFor(60,
                     [this] {
                         if (CountSent(CTRL_READ, FN_READ_RUNTIME_DATA) == 2) {
                             group.m_bStopRequest = 1;
                         }
                     }),
              0);
    EXPECT_FALSE(group.m_pSerial->IsOpen());
    EXPECT_FALSE(group.m_pEnvSerial->IsOpen());
    EXPECT_EQ(list.Count(WM_PORT_STOPPED, &group), 1);
    EXPECT_EQ(group.m_bStopRequest, 1);
    EXPECT_LT(clock.ElapsedMs(), 10000);
}

TEST_F(ScheduleTest, EnvironmentPortChangesAndIsDroppedAtZero) {
    group.m_bEnvEnabled = 1;
    group.m_nEnvComPort = 5;
    group.m_nNewEnvComPort = 7;
    group.m_bEnvChangeRequest = 1;
    RunFor(1);
    EXPECT_EQ(group.m_nEnvComPort, 7);
    EXPECT_EQ(group.m_bEnvEnabled, 1);
    EXPECT_EQ(group.m_nNewEnvComPort, 0);
    ASSERT_NE(group.m_pEnvSerial, nullptr);
    EXPECT_TRUE(group.m_pEnvSerial->IsOpen());
    EXPECT_EQ(wire.createdForPorts, (std::vector<int>{3, 5, 7}));

    group.m_nNewEnvComPort = 0;
    group.m_bEnvChangeRequest = 1;
    RunFor(1);
    EXPECT_EQ(group.m_bEnvEnabled, 0);
    EXPECT_EQ(group.m_pEnvSerial, nullptr);
    EXPECT_EQ(group.m_bEnvChangeRequest, 0);
}

TEST_F(ScheduleTest, UnopenablePortIsRetriedOnEveryPass) {
    wire.openFails = true;
    RunFor(std::chrono::milliseconds(300));
    EXPECT_EQ(group.m_bPortOpen, 0);
    EXPECT_GE(wire.opens, 5);
    EXPECT_TRUE(wire.sent.empty());
    wire.openFails = false;
    RunFor(1);
    EXPECT_EQ(group.m_bPortOpen, 1);
    EXPECT_FALSE(wire.sent.empty());
}

TEST_F(ScheduleTest, AFailingPortIsReportedOnceWithItsReasonAndOnceWhenItOpens) {
    wire.openFails = true;
    testing::internal::CaptureStderr();
    RunFor(std::chrono::milliseconds(300));
    EXPECT_EQ(group.PortProblem(), "Permission denied");
    wire.openFails = false;
    RunFor(1);
    EXPECT_EQ(group.PortProblem(), "");
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2) << log;
    EXPECT_NE(log.find(PortRouteText(3) + ": Permission denied\n"), std::string::npos) << log;
    EXPECT_NE(log.find(PortRouteText(3) + " opened again\n"), std::string::npos) << log;
}

// Giving up is a failure, told with the port it leaves unpolled.
TEST_F(ScheduleTest, GivesUpAfter102WaitsForTheViews) {
    g_viewsCreated = 0;
    group.m_nComPort = 3;
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunFor(60), 1);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("COM3 is not polled: the window was not up within 10200 ms"),
              std::string::npos)
        << log;
    EXPECT_TRUE(wire.sent.empty());
    EXPECT_GE(clock.ElapsedMs(), 10200);
    EXPECT_LT(clock.ElapsedMs(), 10300);
    EXPECT_EQ(group.m_bPortOpen, 1);
}

TEST_F(ScheduleTest, StartsOnceTheViewsExist) {
    g_viewsCreated = 0;
    const std::int64_t start = clock.NowMs();
    RunFor(5, [this] {
        if (clock.ElapsedMs() >= 3000) {
            g_viewsCreated = 1;
        }
    });
    EXPECT_EQ(CountSent(CTRL_REGISTER, FN_RE_REGISTER), 3U);
    ASSERT_FALSE(wire.sent.empty());
    EXPECT_GE(wire.sent.front().atMs - start, 3000);
}

TEST_F(ScheduleTest, ExitEventEndsAtTheNextPass) {
    g_hExitEvent.Set();
    clock.onWait = nullptr;
    EXPECT_EQ(CommThreadProc(&group, environment), 0);
    EXPECT_EQ(wire.sent.size(), 3U); // only the announcement went out
}

TEST_F(ScheduleTest, MissingGroupOrPortObjectEndsWithOne) {
    EXPECT_EQ(CommThreadProc(nullptr, environment), 1);
    environment.makePort = [](const SerialSettings&) { return std::unique_ptr<SerialPort>(); };
    EXPECT_EQ(CommThreadProc(&group, environment), 1);
}

} // namespace
