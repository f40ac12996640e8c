#pragma once

#include "CommStep.h"

class CInverter;
struct CommSession;

// One polling cycle: every inverter of the group, offline ones included, with
// the writes a dialog waits for taken between two polls.
CommStep PollAllInverters(CommSession& session);
void PollInverter(CommSession& session, CInverter& inverter);

// Polls without a valid answer that an inverter survives before it is offline.
inline constexpr int MAX_FAILED_POLLS = 20;
