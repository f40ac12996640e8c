#include "PaneTargets.h"

std::atomic<MessageTarget*> g_hGeneralStatusWnd{nullptr};
std::atomic<MessageTarget*> g_hTodayEnergyWnd{nullptr};
std::atomic<MessageTarget*> g_hPowerWnd{nullptr};
