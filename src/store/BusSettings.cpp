#include "BusSettings.h"

#include "SettingsStore.h"

namespace {
constexpr const char* SECTION = "Bus";
constexpr const char* FAST_REPLIES = "FastReplies";
} // namespace

bool ReadFastReplies(const SettingsStore& settings) {
    return settings.GetInt(SECTION, FAST_REPLIES, 0, SWITCH_RANGE) == 1;
}

bool WriteFastReplies(SettingsStore& settings, bool on) {
    return settings.WriteInt(SECTION, FAST_REPLIES, on ? 1 : 0);
}
