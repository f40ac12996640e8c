#pragma once

#include "CurveCache.h"
#include "LiveFeed.h"
#include "PlantSnapshot.h"
#include "WebServerConfig.h"

#include <atomic>
#include <ctime>

// What the routes read: the station's groups and totals, the settings, the
// curve cache and the live feed.
class WebContext {
public:
    WebContext(GroupVisitor groups, WebServerConfig config);

    // With the station's totals and the broker's state.
    PlantSnapshot Snapshot(const SnapshotScope& scope = {}) const;
    const WebServerConfig& Config() const { return m_config; }
    const GroupVisitor& Groups() const { return m_groups; }
    CurveCache& Curves() { return m_curves; }
    // The next live update: the plant, the list, and each minute that got
    // samples since the last update. Called by the feed's thread only.
    std::string NextLiveEvent();

    LiveFeed* feed = nullptr;
    std::atomic<int> streams{0};

private:
    GroupVisitor m_groups;
    WebServerConfig m_config;
    CurveCache m_curves;
    std::time_t m_lastLiveEvent = 0;
};
