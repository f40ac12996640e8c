#pragma once

#include <string>

// An alert's JSON, published as it is on the station's alert topic.
struct AlertPayload {
    std::string json;
};
