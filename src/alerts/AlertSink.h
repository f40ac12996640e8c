#pragma once

#include "Alert.h"

// Where the rules put what they raise.
class AlertSink {
public:
    virtual ~AlertSink() = default;
    virtual void Raise(const Alert& alert) = 0;
};
