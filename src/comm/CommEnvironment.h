#pragma once

#include "platform/SerialPort.h"

#include <functional>
#include <memory>

class Clock;
class PollSink;
class UserNotifier;

using SerialPortFactory = std::function<std::unique_ptr<SerialPort>(const SerialSettings&)>;

// What a communication thread needs from outside its group.
struct CommEnvironment {
    Clock* clock = nullptr;
    SerialPortFactory makePort;
    UserNotifier* notifier = nullptr;
    PollSink* sink = nullptr; // may be null

    // Real time, real serial devices, boxes logged to stderr, no sink.
    static CommEnvironment Default();
};
