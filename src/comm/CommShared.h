#pragma once

#include "platform/MessageTarget.h"

#include <atomic>

// What the communication threads share with the document and the views.
extern std::atomic<int> g_nInterval;    // sampling interval, whole seconds
extern std::atomic<int> g_viewsCreated; // 1 once every pane exists
extern std::atomic<MessageTarget*> g_hListWnd;

// The longest sampling interval, a day: longer ones overflow the millisecond
// timers that pace the panes.
inline constexpr int MAX_INTERVAL = 86400;
