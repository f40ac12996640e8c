#include "CommSession.h"

#include "CommShared.h"
#include "Transaction.h"
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
    return SendCommand(group, request) && ReceiveReply(group, reply, expectedFunction, ackRequired);
}

void CommSession::PostToList(unsigned message, const void* subject) const {
    PostTo(g_hListWnd, message, reinterpret_cast<std::uintptr_t>(subject));
}

void CommSession::Notify(const char* text) const {
    if (environment.notifier != nullptr) {
        environment.notifier->Show(text);
    }
}
