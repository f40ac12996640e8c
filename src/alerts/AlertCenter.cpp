#include "AlertCenter.h"

#include "AlertChannels.h"
#include "history/SummarySchema.h"
#include "store/FaultRecordFile.h"
#include "store/FaultRecordReader.h"

AlertCenter::AlertCenter(Clock& clock) : m_clock(clock), m_dispatcher(m_outbox, clock) {}

AlertCenter::~AlertCenter() {
    Stop();
}

bool AlertCenter::Open(const std::string& dataDirectory, std::string& problem) {
    m_facts = std::make_unique<SummaryDayFacts>(dataDirectory + "/" + SUMMARY_FILE_NAME);
    return m_db.Open(dataDirectory + "/" + OutboxDb::FILE_NAME, problem);
}

void AlertCenter::Configure(const AlertSettings& settings,
                            std::vector<std::unique_ptr<AlertChannel>> extra, bool thread) {
    Stop();
    m_settings = settings;
    if (!settings.enable) {
        m_dispatcher.SetChannels({});
        return;
    }
    std::vector<std::unique_ptr<AlertChannel>> channels = ConfiguredChannels(settings);
    for (auto& channel : extra) {
        channels.push_back(std::move(channel));
    }
    m_dispatcher.SetChannels(std::move(channels));
    m_router = std::make_unique<AlertRouter>(m_settings, m_outbox, m_dispatcher.ChannelNames(),
                                             [this] { m_dispatcher.Wake(); });
    m_engine =
        std::make_unique<AlertEngine>(m_settings, m_clock, m_conditions, *m_router, StationName());
    m_engine->SetBrokerProbe(m_brokerProbe);
    m_engine->DayEnd().SetDayFacts(m_facts.get());
    m_engine->DayEnd().SetFaultRecords([] { return LoadFaultRecords(FaultRecordFilePath()); });
    if (thread) {
        m_dispatcher.Start();
    }
}

void AlertCenter::Stop() {
    m_dispatcher.Stop();
    m_engine.reset();
    m_router.reset();
}

void AlertCenter::OnStationEvent(const StationEvent& event) {
    if (m_engine) {
        m_engine->OnStationEvent(event);
    }
}

void AlertCenter::OnPlantTotals(const PlantTotals& totals) {
    if (m_engine) {
        m_engine->OnPlantTotals(totals);
    }
}

void AlertCenter::SetBrokerProbe(AlertEngine::BrokerProbe probe) {
    m_brokerProbe = std::move(probe);
    if (m_engine) {
        m_engine->SetBrokerProbe(m_brokerProbe);
    }
}

AlertsSnapshot AlertCenter::Snapshot() {
    AlertsSnapshot snapshot;
    snapshot.open = m_conditions.OpenAlerts();
    snapshot.lastSent = m_outbox.LastSent(AlertsSnapshot::LAST_SENT);
    snapshot.channels = m_dispatcher.Counts();
    for (const std::string& name : m_dispatcher.ChannelNames()) {
        snapshot.channels[name].queued = m_outbox.Queued(name);
    }
    return snapshot;
}
