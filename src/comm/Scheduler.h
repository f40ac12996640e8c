#pragma once

#include "CommStep.h"

struct CommSession;

// Chooses the next step: user requests first, then a registration attempt at
// least every 10 s, then a polling cycle every sampling interval. In fast
// mode an attempt that registered an inverter makes the next one due at once,
// taking turns with due polling cycles.
CommStep ChooseNextStep(CommSession& session);

inline constexpr int REGISTER_PERIOD_SECONDS = 10;
