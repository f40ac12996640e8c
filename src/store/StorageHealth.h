#pragma once

#include <functional>
#include <string>

// Whether the history and fault files can be written. A data directory that
// stops taking writes (removed, replaced by a file, read-only, full) is one
// episode: one warning when it starts and one when writing works again, not
// one per sample. Polling goes on throughout.

// Told of each start and end of an episode, on the writing thread and in
// order; it must not call back in here. usable is false at the start.
using StorageListener = std::function<void(bool usable, const std::string& text)>;
void SetStorageListener(StorageListener listener);

// After each write of a history or fault file; an empty failure means the
// write went through.
void ReportStorageWrite(const std::string& path, const std::string& failure);

// The failure that started the episode under way; empty when there is none.
std::string StorageProblem();
