#pragma once

#include "ManualResetEvent.h"

// Set at shutdown; ends every communication thread.
extern ManualResetEvent g_hExitEvent;
