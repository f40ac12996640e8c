#include "CommBusFixture.h"
#include "comm/CommShared.h"
#include "comm/Transaction.h"
#include "platform/ComSerial.h"

#include <algorithm>

using namespace std::chrono_literals;

namespace {
using Milliseconds = std::chrono::duration<double, std::milli>;

bool Exchange(CInverterGroup& group, const BusMessage& request, bool ackRequired = false) {
    BusMessage reply;
    return SendCommand(group, request) &&
           ReceiveReply(group, reply, request.Function(), ackRequired,
                        request.Destination() == BROADCAST_ADDRESS);
}
} // namespace

// All three answer the first offline query at once; the simulator then has
// them take turns, and one quick run registers them all.
TEST_F(CommBusFixture, FastModeRejectsACollisionThenRegistersTheBusAndPollsWhatWasSent) {
    g_bFastReplies = true;
    StartBus(3, true);
    station->Start();
    ASSERT_TRUE(WaitUntil([&] { return !station->Group().m_rejects.NonZero().empty(); }, 5s));
    EXPECT_TRUE(station->Inverters().empty());

    ASSERT_TRUE(AwaitPolledRecords(3, 20s));
    ExpectRecordsAsSimulated(station->Inverters());
}

TEST_F(CommBusFixture, OnTheWireAReplyEndsEarlyOnlyInFastMode) {
    StartBus(1, true);
    CInverterGroup group;
    group.m_pSerial = std::make_unique<CSerial>(PORT, 9600, 0, 8, 0);
    ASSERT_EQ(group.m_pSerial->Open(), 1);
    const std::string serial = plant->Unit(1).profile.serialNo;
    BusMessage request;
    request.SetRequest(BROADCAST_ADDRESS, CTRL_REGISTER, FN_SEND_ADDRESS, SERIAL_NO_LENGTH + 1);
    std::copy(serial.begin(), serial.end(), request.Data());
    request.Data()[SERIAL_NO_LENGTH] = 1;
    ASSERT_TRUE(Exchange(group, request, true));

    request.SetRequest(1, CTRL_READ, FN_READ_RUNTIME_DATA);
    for (const bool fast : {false, true}) {
        g_bFastReplies = fast;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(Exchange(group, request)) << fast;
        const double taken = Milliseconds(std::chrono::steady_clock::now() - start).count();
        // 57 bytes and a 5 ms turnaround need about 75 ms; the deadline is 369.
        if (fast) {
            EXPECT_LT(taken, 300.0);
        } else {
            EXPECT_GE(taken, 369.0);
        }
    }
}
