#include "StorageHealth.h"

#include "platform/DataDirectory.h"
#include "platform/Warning.h"

#include <map>
#include <mutex>
#include <set>

namespace {
struct Episode {
    // The files that failed in it. Only one of them working again ends it:
    // another file that always worked says nothing about the failing ones.
    std::set<std::string> failingPaths;
    std::string problem;
};

std::mutex g_lock;
StorageListener g_listener;
// By data directory, since a failure of one says nothing about another.
std::map<std::string, Episode> g_episodes;

void Announce(bool usable, const std::string& text) {
    Warning("%s", text.c_str());
    if (g_listener) {
        g_listener(usable, text);
    }
}
} // namespace

void SetStorageListener(StorageListener listener) {
    std::lock_guard lock(g_lock);
    g_listener = std::move(listener);
}

void ReportStorageWrite(const std::string& path, const std::string& failure) {
    std::lock_guard lock(g_lock);
    Episode& episode = g_episodes[DataDirectory()];
    if (!failure.empty()) {
        if (episode.failingPaths.empty()) {
            episode.problem = failure;
            Announce(false, "history not written: " + failure +
                                "; polling goes on, samples are not logged until this is mended");
        }
        episode.failingPaths.insert(path);
        return;
    }
    if (episode.failingPaths.count(path) != 0) {
        episode = Episode();
        Announce(true, "history written again: " + path);
    }
}

std::string StorageProblem() {
    std::lock_guard lock(g_lock);
    const auto found = g_episodes.find(DataDirectory());
    return found == g_episodes.end() ? std::string() : found->second.problem;
}
