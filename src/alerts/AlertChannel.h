#pragma once

#include "Alert.h"

#include <string>

// One way an alert reaches the owner. Deliver may block for up to the
// channel's own time-out; Cancel, from any thread, ends such a wait early.
class AlertChannel {
public:
    virtual ~AlertChannel() = default;
    // One of CHANNEL_NAMES.
    virtual std::string Name() const = 0;
    // Empty when the alert was handed over; otherwise why not, in words.
    [[nodiscard]] virtual std::string Deliver(const Alert& alert) = 0;
    virtual void Cancel() {}
};
