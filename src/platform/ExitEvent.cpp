#include "ExitEvent.h"

ManualResetEvent g_hExitEvent;
