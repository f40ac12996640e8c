#pragma once

#include "Alert.h"

#include <ctime>
#include <string>
#include <vector>

// An alert that went out through at least one channel or was tried, with
// what became of it on each of its channels.
struct SentAlert {
    enum class Outcome { Sent, Waiting, GivenUp };
    struct Delivery {
        std::string channel;
        Outcome outcome = Outcome::Waiting;
        std::time_t sentAt = 0;
        int attempts = 0;
        std::string error; // of the last attempt that failed
    };

    Alert alert;
    std::time_t sentAt = 0; // its latest delivery; 0 when none got through yet
    std::vector<Delivery> deliveries;
};
