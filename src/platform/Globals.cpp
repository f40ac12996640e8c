#include "Globals.h"

std::atomic<int> g_nInterval{2};
ManualResetEvent g_hExitEvent;
std::atomic<int> g_viewsCreated{0};
std::atomic<MessageTarget*> g_hListWnd{nullptr};
std::atomic<MessageTarget*> g_hGeneralStatusWnd{nullptr};
std::atomic<MessageTarget*> g_hTodayEnergyWnd{nullptr};
std::atomic<MessageTarget*> g_hPowerWnd{nullptr};

void PostTo(const std::atomic<MessageTarget*>& target, unsigned message, std::uintptr_t wParam) {
    if (MessageTarget* receiver = target.load()) {
        receiver->Post(message, wParam);
    }
}
