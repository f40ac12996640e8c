#include "CommEnvironment.h"

#include "platform/Clock.h"
#include "platform/ComSerial.h"
#include "platform/UserNotifier.h"

CommEnvironment CommEnvironment::Default() {
    static LoggingNotifier notifier;
    CommEnvironment environment;
    environment.clock = &SystemClock::Instance();
    environment.makePort = [](const SerialSettings& settings) {
        return std::make_unique<CSerial>(settings);
    };
    environment.notifier = &notifier;
    return environment;
}
