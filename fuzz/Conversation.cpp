#include "Conversation.h"

#include "comm/CommEnvironment.h"
#include "comm/CommSession.h"
#include "comm/Polling.h"
#include "comm/Registration.h"
#include "platform/Clock.h"

namespace {
class FixedClock : public Clock {
public:
    std::time_t Now() override { return SAMPLE_TIME; }
    std::chrono::milliseconds Monotonic() override { return {}; }
    void Sleep(std::chrono::milliseconds) override {}
    bool WaitForEvent(const ManualResetEvent&, std::chrono::milliseconds) override { return false; }
};
} // namespace

void RegisterAndPoll(CInverterGroup& group) {
    FixedClock clock;
    CommEnvironment environment;
    environment.clock = &clock;
    CommSession session{group, environment, {}, {}};
    RegisterNewInverter(session);
    PollAllInverters(session);
}
