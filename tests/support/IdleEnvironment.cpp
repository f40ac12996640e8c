#include "IdleEnvironment.h"

#include "platform/Clock.h"

CommEnvironment IdleEnvironment(UserNotifier& notifier) {
    CommEnvironment environment;
    environment.clock = &SystemClock::Instance();
    environment.notifier = &notifier;
    environment.makePort = [](const SerialSettings&) { return std::unique_ptr<SerialPort>(); };
    return environment;
}
