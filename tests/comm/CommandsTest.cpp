#include "CommFixture.h"
#include "comm/CommSession.h"
#include "comm/CommandReports.h"
#include "comm/InverterCommands.h"
#include "comm/Scheduler.h"

namespace {

class CommandsTest : public CommFixture {
protected:
    // Registers the plant, then runs until the hook has seen the requests
    // through.
    void RegisterPlant(std::size_t count) {
        RunFor(static_cast<int>(10 * count));
        ASSERT_EQ(group.Inverters().size(), count);
        wire.sent.clear();
    }
};

TEST_F(CommandsTest, RequestsGoBeforeRegistrationAndPolling) {
    plant.Add("A");
    plant.Add("B");
    RegisterPlant(2);
    CommSession session{group, environment, {}, {}};
    CInverter& a = *Inverter(0);
    CInverter& b = *Inverter(1);

    QueueParamWrite(b, 0x40, 1600);
    a.m_bRemoveRequest = 1;
    group.m_bReconnectRequest = 1;
    EXPECT_EQ(ChooseNextStep(session), STEP_RECONNECT_ALL);
    EXPECT_EQ(group.m_bReconnectRequest, 0);
    EXPECT_EQ(ChooseNextStep(session), STEP_REMOVE); // A comes first in the list
    a.m_bRemoveRequest = 0;
    EXPECT_EQ(ChooseNextStep(session), STEP_WRITE_PARAMS);
    b.m_pendingParamWrites.clear();
    b.m_bChangeSerialRequest = 1;
    b.m_bResetTotalsRequest = 1;
    EXPECT_EQ(ChooseNextStep(session), STEP_CHANGE_SERIAL);
    b.m_bChangeSerialRequest = 0;
    EXPECT_EQ(ChooseNextStep(session), STEP_RESET_TOTALS);
    b.m_bResetTotalsRequest = 0;

    group.m_tLastRegister.reset();
    group.m_tLastPoll.reset();
    EXPECT_EQ(ChooseNextStep(session), STEP_REGISTER);
    EXPECT_EQ(ChooseNextStep(session), STEP_POLL);
    EXPECT_EQ(ChooseNextStep(session), STEP_SCHEDULE);
}

TEST_F(CommandsTest, ParameterWritesGoOutNewestFirstAndOnlyAcksAreKept) {
    FakeInverter& fake = plant.Add("W");
    RegisterPlant(1);
    CInverter& inverter = *Inverter(0);
    QueueParamWrite(inverter, 0x40, 1600);
    QueueParamWrite(inverter, 0x41, 90);
    QueueParamWrite(inverter, 0x44, 1900);
    RunFor(1);
    const auto writes = wire.SentWith(CTRL_WRITE, 0x44);
    ASSERT_EQ(writes.size(), 1U);
    std::vector<std::uint8_t> order;
    for (const auto& sent : wire.sent) {
        if (sent.message.Control() == CTRL_WRITE) {
            order.push_back(sent.message.Function());
        }
    }
    EXPECT_EQ(order, (Bytes{0x44, 0x41, 0x40}));
    EXPECT_EQ(writes[0].Length(), 2);
    EXPECT_EQ(writes[0].Data()[0], 1900 >> 8);
    EXPECT_EQ(writes[0].Data()[1], 1900 & 0xFF);
    EXPECT_EQ(inverter.m_params[0], 1600);
    EXPECT_EQ(inverter.m_params[1], 90);
    EXPECT_EQ(inverter.m_params[4], 1900);
    EXPECT_TRUE(inverter.m_pendingParamWrites.empty());

    fake.ackCommands = false;
    QueueParamWrite(inverter, 0x45, 2700);
    QueueParamWrite(inverter, 0x50, 1); // acknowledged but not a slot
    RunFor(1);
    EXPECT_EQ(inverter.m_params[5], 0);
    EXPECT_EQ(CountSent(CTRL_WRITE, 0x50), 1U);
}

TEST_F(CommandsTest, WriteQueuedDuringTheStepIsSentOnALaterPass) {
    plant.Add("H");
    RegisterPlant(1);
    CInverter& inverter = *Inverter(0);
    wire.responder = [&](const BusMessage& request) {
        if (request.Control() == CTRL_WRITE && request.Function() == 0x40) {
            QueueParamWrite(inverter, 0x41, 120);
        }
        return plant.Answer(request);
    };
    QueueParamWrite(inverter, 0x40, 1700);
    RunFor(1);
    EXPECT_EQ(CountSent(CTRL_WRITE, 0x40), 1U);
    EXPECT_EQ(CountSent(CTRL_WRITE, 0x41), 1U);
    EXPECT_EQ(inverter.m_params[1], 120);
    EXPECT_TRUE(inverter.m_pendingParamWrites.empty());
}

TEST_F(CommandsTest, WritesGoOutBetweenPollsAndTheThreadReportsTheirOutcome) {
    for (const char* serial : {"K1", "K2", "K3"}) {
        plant.Add(serial);
    }
    RegisterPlant(3);
    CInverter& last = *Inverter(2);
    struct Case {
        bool ack;
        bool silent;
        CommandOutcome outcome;
    };
    const Case cases[] = {{true, false, OUTCOME_ACKNOWLEDGED},
                          {false, false, OUTCOME_REFUSED},
                          {true, true, OUTCOME_NO_ANSWER}};
    for (const Case& expected : cases) {
        plant.inverters[2].ackCommands = expected.ack;
        plant.inverters[2].silent = expected.silent;
        std::uint32_t param = 0;
        std::uint32_t serial = 0;
        // Queued while the first poll of a cycle is on the wire.
        wire.responder = [&](const BusMessage& request) {
            if (param == 0 && request.Function() == FN_READ_RUNTIME_DATA &&
                request.Destination() == 1) {
                param = QueueParamWrite(last, 0x41, 90);
                serial = RequestSerialChange(last, "K300000000000003");
            }
            return plant.Answer(request);
        };
        wire.sent.clear();
        RunFor(3);
        std::size_t write = 0;
        while (write < wire.sent.size() && wire.sent[write].message.Control() != CTRL_WRITE) {
            ++write;
        }
        ASSERT_GE(write, 1U);
        ASSERT_LT(write + 2, wire.sent.size());
        EXPECT_EQ(wire.sent[write - 1].message.Destination(), 1);
        EXPECT_EQ(wire.sent[write].message.Function(), 0x41);
        EXPECT_EQ(wire.sent[write + 1].message.Function(), FN_WRITE_SERIAL_NO);
        EXPECT_EQ(wire.sent[write + 2].message.Function(), FN_READ_RUNTIME_DATA);
        EXPECT_EQ(wire.sent[write + 2].message.Destination(), 2);
        EXPECT_EQ(TakeCommandOutcome(last, param), expected.outcome);
        EXPECT_EQ(TakeCommandOutcome(last, serial), expected.outcome);
        EXPECT_EQ(TakeCommandOutcome(last, serial), OUTCOME_PENDING) << "taken once";
    }
}

TEST_F(CommandsTest, TheOutcomeWaitOutlastsAPollingCycleOfThePortAndTheCommand) {
    constexpr std::chrono::milliseconds LONGEST_TRANSACTION{369};
    for (int count = 0; count <= CInverterGroup::MAX_ADDRESS; ++count) {
        if (count > 0) {
            group.AppendInverter(group.CreateInverter(static_cast<std::uint8_t>(count)));
        }
        EXPECT_GT(CommandWaitLimit(group, 1), (count + 1) * LONGEST_TRANSACTION) << count;
    }
}

TEST_F(CommandsTest, RemoveAnnouncesThenDestroysOnePerPass) {
    plant.Add("R1");
    plant.Add("R2");
    plant.Add("R3");
    RegisterPlant(3);
    CInverter* first = Inverter(0);
    CInverter* second = Inverter(1);
    first->m_bRemoveRequest = 1;
    second->m_bRemoveRequest = 1;
    std::vector<std::size_t> sizes;
    RunFor(2, [&] {
        if (sizes.empty() || sizes.back() != group.Inverters().size()) {
            sizes.push_back(group.Inverters().size());
        }
    });
    EXPECT_EQ(sizes, (std::vector<std::size_t>{3, 2, 1}));
    const auto removals = wire.SentWith(CTRL_REGISTER, FN_REMOVE_REGISTER);
    ASSERT_EQ(removals.size(), 2U);
    EXPECT_EQ(removals[0].Destination(), 1);
    EXPECT_EQ(removals[1].Destination(), 2);
    ASSERT_EQ(group.Inverters().size(), 1U);
    EXPECT_EQ(Inverter(0)->m_strSerialNo, "R3");
    EXPECT_EQ(list.Count(WM_INVERTER_REMOVED, first), 1);
    EXPECT_EQ(list.Count(WM_INVERTER_REMOVED, second), 1);
    EXPECT_EQ(notifier.Texts(),
              (std::vector<std::string>{"Remove inverter success!", "Remove inverter success!"}));
    EXPECT_EQ(plant.inverters[0].address, 0);
}

TEST_F(CommandsTest, RemoveWithoutAnswerOrPortStillDestroysTheRecord) {
    plant.Add("Q");
    plant.Add("U");
    RegisterPlant(2);
    plant.inverters[0].silent = true;
    Inverter(0)->m_bRemoveRequest = 1;
    RunFor(1);
    EXPECT_EQ(group.Inverters().size(), 1U);
    EXPECT_TRUE(notifier.Texts().empty());

    Inverter(0)->m_bRemoveRequest = 1;
    group.m_pSerial->Close();
    wire.openFails = true;
    RunFor(1);
    EXPECT_TRUE(group.Inverters().empty());
    EXPECT_EQ(notifier.Texts(), (std::vector<std::string>{"Remove inverter fail!"}));
}

TEST_F(CommandsTest, ResetIsAcceptedFromAReplyAddressedToZero) {
    FakeInverter& fake = plant.Add("T");
    RegisterPlant(1);
    fake.replyDestination = 0;
    Inverter(0)->m_bResetTotalsRequest = 1;
    RunFor(1);
    EXPECT_EQ(Inverter(0)->m_bResetTotalsRequest, 0);
    EXPECT_EQ(notifier.Texts(), (std::vector<std::string>{"Reset e-total/h-total success"}));

    fake.ackCommands = false;
    fake.replyDestination = 1;
    Inverter(0)->m_bResetTotalsRequest = 1;
    RunFor(1);
    EXPECT_EQ(notifier.Texts().size(), 1U);
}

TEST_F(CommandsTest, SerialChangeTakesEffectOnlyWhenAcknowledged) {
    FakeInverter& fake = plant.Add("OLD");
    RegisterPlant(1);
    CInverter& inverter = *Inverter(0);
    RequestSerialChange(inverter, "NEW0000000000001");
    RunFor(1);
    const auto writes = wire.SentWith(CTRL_WRITE, FN_WRITE_SERIAL_NO);
    ASSERT_EQ(writes.size(), 1U);
    EXPECT_EQ(writes[0].Length(), 16);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(writes[0].Data()), 16), "NEW0000000000001");
    EXPECT_EQ(inverter.m_strSerialNo, "NEW0000000000001");
    EXPECT_EQ(inverter.m_bChangeSerialRequest, 0);

    fake.ackCommands = false;
    RequestSerialChange(inverter, "SHORT");
    RunFor(1);
    const auto second = wire.SentWith(CTRL_WRITE, FN_WRITE_SERIAL_NO);
    ASSERT_EQ(second.size(), 2U);
    EXPECT_EQ(second[1].Data()[5], 0); // padded with zero bytes
    EXPECT_EQ(inverter.m_strSerialNo, "NEW0000000000001");
    EXPECT_EQ(inverter.m_bChangeSerialRequest, 0);
}

TEST_F(CommandsTest, ReconnectWithNoPortFailsSilently) {
    wire.openFails = true;
    group.m_bReconnectRequest = 1;
    RunFor(1);
    EXPECT_EQ(group.m_bReconnectRequest, 0);
    EXPECT_TRUE(wire.sent.empty());
    EXPECT_TRUE(notifier.Texts().empty());
}

} // namespace
