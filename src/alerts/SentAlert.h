#pragma once

#include "Alert.h"

#include <ctime>
#include <string>
#include <vector>

// An alert that reached at least one channel.
struct SentAlert {
    Alert alert;
    std::time_t sentAt = 0; // its latest delivery
    std::vector<std::string> channels;
};
