#include "CommSession.h"

#include "CommShared.h"
#include "Transaction.h"
#include "model/InverterGroup.h"
#include "platform/Clock.h"
#include "platform/UserNotifier.h"

#include <cstdint>

std::time_t CommSession::Now() const {
    return environment.clock->Now();
}

ScheduleMark CommSession::Mark() const {
    return {environment.clock->Now(), environment.clock->Monotonic()};
}

bool CommSession::Exchange(std::uint8_t expectedFunction, bool ackRequired) {
    const bool answered =
        SendCommand(group, request) && ReceiveReply(group, reply, expectedFunction, ackRequired,
                                                    request.Destination() == BROADCAST_ADDRESS);
    Beat();
    return answered;
}

void CommSession::Beat() const {
    group.m_nHeartbeatMs = environment.clock->Monotonic().count();
}

void CommSession::PostToList(unsigned message, const void* subject) const {
    PostTo(g_hListWnd, message, reinterpret_cast<std::uintptr_t>(subject));
}

void CommSession::Notify(const char* text) const {
    if (environment.notifier != nullptr) {
        environment.notifier->Show(text);
    }
}
