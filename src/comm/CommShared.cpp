#include "CommShared.h"

std::atomic<int> g_nInterval{2};
std::atomic<int> g_viewsCreated{0};
std::atomic<MessageTarget*> g_hListWnd{nullptr};
std::atomic<bool> g_bFastReplies{false};
