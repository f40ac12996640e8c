#pragma once

#include "platform/MessageTarget.h"

#include <atomic>

// The pane frames told of a changed sampling interval.
extern std::atomic<MessageTarget*> g_hGeneralStatusWnd;
extern std::atomic<MessageTarget*> g_hTodayEnergyWnd;
extern std::atomic<MessageTarget*> g_hPowerWnd;
