#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

struct BrokerStatus {
    enum class State { Disabled, Connecting, Connected, Lost };
    State state = State::Disabled;
    std::string reason; // why it is lost, or why it cannot start
    std::uint64_t dropped = 0;
    std::size_t queued = 0; // waiting to be sent
};

// A connection made or lost, as the station reports it.
struct BrokerChange {
    std::time_t when = 0;
    bool connected = false;
    std::string reason;                 // why it was lost
    std::uint64_t droppedMeanwhile = 0; // since the previous connection
};
