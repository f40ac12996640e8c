#pragma once

#include "AlertChannel.h"
#include "AlertDispatcher.h"
#include "AlertEngine.h"
#include "AlertRouter.h"
#include "AlertSettings.h"
#include "AlertsSnapshot.h"
#include "ConditionTable.h"
#include "Outbox.h"
#include "OutboxDb.h"
#include "SummaryDayFacts.h"
#include "store/StationEvent.h"

#include <memory>
#include <string>
#include <vector>

class Clock;

// The station's alerts put together: the rules hear the station's events
// (add this as a station observer), what they raise waits in the outbox in
// the data directory, and a thread delivers it through the channels the
// settings name plus those the program adds (MQTT, the desktop).
class AlertCenter : public StationObserver {
public:
    explicit AlertCenter(Clock& clock);
    ~AlertCenter() override;
    AlertCenter(const AlertCenter&) = delete;
    AlertCenter& operator=(const AlertCenter&) = delete;

    // Opens the outbox (AlertsFile) in the data directory; false, with the
    // reason, when it cannot, and alerts are then kept in memory.
    [[nodiscard]] bool Open(const std::string& dataDirectory, std::string& problem);
    // Ends what runs and starts anew with these settings and channels.
    // thread: deliver on a thread of its own; otherwise Dispatcher() is
    // driven by the caller.
    void Configure(const AlertSettings& settings, std::vector<std::unique_ptr<AlertChannel>> extra,
                   bool thread = true);
    void Stop();

    void OnStationEvent(const StationEvent& event) override;
    void OnPlantTotals(const PlantTotals& totals) override;

    // Where the broker's state comes from; kept across Configure.
    void SetBrokerProbe(AlertEngine::BrokerProbe probe);
    AlertEngine* Engine() { return m_engine.get(); }
    AlertDispatcher& Dispatcher() { return m_dispatcher; }

    // Any thread: what the web pages and /metrics show.
    AlertsSnapshot Snapshot();

private:
    Clock& m_clock;
    OutboxDb m_db;
    Outbox m_outbox{m_db};
    ConditionTable m_conditions{m_db};
    AlertDispatcher m_dispatcher;
    AlertSettings m_settings;
    std::unique_ptr<SummaryDayFacts> m_facts;
    std::unique_ptr<AlertRouter> m_router;
    std::unique_ptr<AlertEngine> m_engine;
    AlertEngine::BrokerProbe m_brokerProbe;
};
