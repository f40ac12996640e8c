#pragma once

#include "CommStep.h"

struct CommSession;

// Chooses the next step: user requests first, then a registration attempt at
// least every 10 s, then a polling cycle every sampling interval. In fast
// mode an attempt that registered an inverter makes the next one due at once,
// and one whose query was answered garbled makes it due after a short pause,
// taking turns with polling cycles, which are then due just before the last
// cycle's readings would turn stale.
CommStep ChooseNextStep(CommSession& session);

// Marks a registration attempt as started now if one is due. The polling cycle
// asks between inverters: a full bus polls for most of the registration period,
// and an attempt that waited for the cycle's end would come late every time.
bool TakeDueRegistration(CommSession& session);

inline constexpr int REGISTER_PERIOD_SECONDS = 10;
