#pragma once

class SettingsStore;

// [Bus] FastReplies=1 turns fast mode on; absent or 0 keeps the usual timing.
bool ReadFastReplies(const SettingsStore& settings);
// False when the setting could not be written.
[[nodiscard]] bool WriteFastReplies(SettingsStore& settings, bool on);
