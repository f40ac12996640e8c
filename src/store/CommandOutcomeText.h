#pragma once

#include "model/CommandReport.h"

// "written", "refused by the inverter" or "no answer": how a command ended,
// in the words the dialogs and the audit file use.
const char* CommandOutcomeText(CommandOutcome outcome);
