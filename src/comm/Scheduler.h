#pragma once

#include "CommStep.h"

struct CommSession;

// Chooses the next step: user requests first, then a registration attempt at
// least every 10 s, then a polling cycle every sampling interval.
CommStep ChooseNextStep(CommSession& session);

inline constexpr int REGISTER_PERIOD_SECONDS = 10;
