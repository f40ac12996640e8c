#pragma once

#include "ManualResetEvent.h"
#include "MessageTarget.h"

#include <atomic>

// Process-wide values shared by the communication threads, the document and
// the views.
extern std::atomic<int> g_nInterval;    // sampling interval, whole seconds
extern ManualResetEvent g_hExitEvent;   // set at shutdown; ends every communication thread
extern std::atomic<int> g_viewsCreated; // 1 once every pane exists
extern std::atomic<MessageTarget*> g_hListWnd;
extern std::atomic<MessageTarget*> g_hGeneralStatusWnd;
extern std::atomic<MessageTarget*> g_hTodayEnergyWnd;
extern std::atomic<MessageTarget*> g_hPowerWnd;

// Posts to a target that may not exist (yet, or any more).
void PostTo(const std::atomic<MessageTarget*>& target, unsigned message, std::uintptr_t wParam);
