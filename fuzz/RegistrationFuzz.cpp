// Replies to registration and polling: the offline query's serial number, the
// address acknowledgement, the description, both field lists, the parameter
// values and the runtime data, as many rounds as the replies last.

#include "Conversation.h"
#include "FuzzCheck.h"
#include "FuzzInputs.h"
#include "HistoryLineShape.h"
#include "comm/Protocol.h"
#include "model/InverterGroup.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "platform/SerialPort.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace {
// Hands out the fuzzed replies one per read; every write goes out whole.
class ReplayPort : public SerialPort {
public:
    explicit ReplayPort(std::vector<ConversationInput::Reply> replies)
        : m_replies(std::move(replies)) {}

    bool Exhausted() const { return m_next == m_replies.size(); }

    int Open() override { return 1; }
    bool IsOpen() const override { return true; }
    void Close() override {}
    void PurgeRx() override {}
    void PurgeTx() override {}
    int Send(const std::uint8_t*, int) override { return 1; }
    int Receive(std::uint8_t* buffer, int& count) override {
        if (Exhausted()) {
            return 0;
        }
        const Bytes& reply = m_replies[m_next++].bytes;
        if (reply.empty()) {
            return 0;
        }
        count = std::min(count, static_cast<int>(reply.size()));
        std::copy_n(reply.begin(), count, buffer);
        return 1;
    }

private:
    std::vector<ConversationInput::Reply> m_replies;
    std::size_t m_next = 0;
};

void RequireSoundRecord(const CInverter& inverter) {
    Require(inverter.m_strSerialNo.size() <= SERIAL_NO_LENGTH &&
                inverter.m_strSerialNo.find('\0') == std::string::npos,
            "a serial number is at most 16 bytes and holds no NUL");
    Require(inverter.m_nAddress >= 1 && inverter.m_nAddress <= CInverterGroup::MAX_ADDRESS,
            "a registered inverter has a bus address from 1 to 20");
    const RuntimeData* data = inverter.m_pRuntimeData.get();
    switch (inverter.m_nPhaseType.load()) {
    case 0: Require(data == nullptr, "an undescribed inverter has no runtime data"); break;
    case 1:
        Require(dynamic_cast<const SingleRuntimeData*>(data) != nullptr,
                "a single-phase inverter keeps single-phase runtime data");
        break;
    case 3:
        Require(dynamic_cast<const ThreeRuntimeData*>(data) != nullptr,
                "a three-phase inverter keeps three-phase runtime data");
        break;
    default: Require(false, "the phase type is 0, 1 or 3");
    }
    if (data != nullptr) {
        RequireWholeHistoryLine(*data);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CInverterGroup group;
    auto port = std::make_unique<ReplayPort>(ConversationInput::Read(data, size).replies);
    const ReplayPort& replies = *port;
    group.m_pSerial = std::move(port);
    while (!replies.Exhausted()) {
        RegisterAndPoll(group);
    }
    std::set<std::uint8_t> addresses;
    for (const CInverter* inverter : group.Inverters()) {
        RequireSoundRecord(*inverter);
        Require(addresses.insert(inverter->m_nAddress).second, "bus addresses are unique");
    }
    return 0;
}
