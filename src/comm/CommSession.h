#pragma once

#include "BusMessage.h"
#include "CommEnvironment.h"
#include "model/ScheduleMark.h"

#include <chrono>
#include <ctime>
#include <optional>
#include <random>

class CInverterGroup;

// The state one communication thread keeps for its whole life; every step
// works on it.
struct CommSession {
    CInverterGroup& group;
    const CommEnvironment& environment;
    BusMessage request;
    BusMessage reply;
    int registrationCount = 0;
    bool reRegisterAllowed = true;
    // Fast mode: the last attempt registered an inverter, so the next one
    // is due at once.
    bool registerAtOnce = false;
    // A registration attempt ran since the last polling cycle.
    bool pollsTurn = false;
    // Fast mode: the last offline query was answered garbled, and is asked
    // again from then (monotonic clock).
    std::optional<std::chrono::milliseconds> retryAt{};
    // The longest registration attempt since the run of quick attempts began.
    std::chrono::milliseconds longestAttempt{0};
    std::minstd_rand random{std::random_device{}()};

    // Fast mode: an attempt registered somebody or met a collision, so
    // another follows soon.
    bool InQuickRun() const { return registerAtOnce || retryAt.has_value(); }
    std::time_t Now() const;
    ScheduleMark Mark() const;
    // One request/reply exchange; the request must be filled in.
    bool Exchange(std::uint8_t expectedFunction, bool ackRequired);
    void PostToList(unsigned message, const void* subject) const;
    void Notify(const char* text) const;
    // Marks a step finished: the thread is alive.
    void Beat() const;
};
