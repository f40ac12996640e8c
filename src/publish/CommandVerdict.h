#pragma once

#include "platform/Log.h"

#include <string>

class Topics;

// What becomes of a message on one of the station's command topics.
struct CommandVerdict {
    bool reconnectAll = false;
    LogLevel level = LogLevel::Info;
    std::string line; // for the log, naming the topic
};

// The station's buttons: with [Mqtt] Commands=1, "reconnect all" asks every
// port to send the same broadcast the window's "Reconnect all device" sends.
// Everything else is refused, and so is every command while commands are
// off: nothing that changes an inverter (parameters, serial numbers,
// removal, counter resets) is ever taken over MQTT. A retained message is
// not a press: it would come again with every connection.
CommandVerdict JudgeCommand(const Topics& topics, bool allowed, const std::string& topic,
                            bool retained);
