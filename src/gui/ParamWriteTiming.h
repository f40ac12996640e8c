#pragma once

#include "OutcomeWatch.h"

#include <chrono>

// The pauses of a parameter write sequence. Tests shorten them.
struct ParamWriteTiming {
    std::chrono::milliseconds firstTick{10};
    // Gives the communication thread time to finish what it is doing.
    std::chrono::milliseconds beforeQueue{1000};
    OutcomeTiming outcome;
};
