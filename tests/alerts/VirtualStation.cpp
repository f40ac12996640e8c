#include "VirtualStation.h"

#include "ControlCommands.h"
#include "comm/CommShared.h"
#include "comm/CommThread.h"
#include "model/ErrorState.h"
#include "platform/DataDirectory.h"
#include "platform/ExitEvent.h"
#include "store/Freshness.h"
#include "store/PlantTotals.h"

#include <gtest/gtest.h>

VirtualStation::VirtualStation(int inverters, std::time_t start, const AlertSettings& settings)
    : m_clock(start), m_record(std::make_shared<RecordingChannel::Record>()) {
    SetDataDirectory(m_directory.Path());
    EXPECT_TRUE(CreateDataDirectories());
    for (int position = 1; position <= inverters; ++position) {
        m_bus.AddInverter(m_factory.Make(sim::InverterKind::Single, PORT, position, 0));
    }
    m_wire.responder = [this](const BusMessage& request) {
        return m_bus.Handle(request, Now()).Bytes();
    };
    m_group.m_nComPort = PORT;
    m_group.m_nBaudRate = 9600;
    m_group.m_nDataBits = 8;
    m_environment.clock = &m_clock;
    m_environment.notifier = &m_notifier;
    m_environment.sink = &m_sink;
    m_environment.makePort = [this](const SerialSettings&) -> std::unique_ptr<SerialPort> {
        return std::make_unique<ScriptedPort>(m_wire, m_clock);
    };
    g_hListWnd = &m_list;
    g_viewsCreated = 1;
    g_nInterval = 2;
    g_hExitEvent.Reset();
    m_watch =
        std::make_unique<StationWatch>([this] { return std::vector<CInverterGroup*>{&m_group}; },
                                       [this](std::time_t now) { return Totals(now); });
    m_alerts = std::make_unique<AlertCenter>(m_clock);
    std::string problem;
    (void)m_alerts->Open(m_directory.Path(), problem);
    std::vector<std::unique_ptr<AlertChannel>> channels;
    channels.push_back(std::make_unique<RecordingChannel>(m_record));
    m_alerts->Configure(settings, std::move(channels), false);
    m_watch->AddObserver(m_alerts.get());
}

VirtualStation::~VirtualStation() {
    m_alerts.reset();
    m_watch.reset();
    g_hListWnd = nullptr;
    g_viewsCreated = 0;
    g_nInterval = 2;
    g_hExitEvent.Reset();
}

void VirtualStation::RunFor(std::chrono::seconds duration) {
    const std::int64_t end = m_clock.ElapsedMs() + std::chrono::milliseconds(duration).count();
    m_clock.onWait = [this, end](FakeClock& now) {
        // Once a second of virtual time, as often as the station's own round.
        if (now.NowMs() - m_lastPumpMs >= 1000) {
            m_lastPumpMs = now.NowMs();
            Pump();
        }
        if (now.ElapsedMs() >= end) {
            g_hExitEvent.Set();
        }
    };
    CommThreadProc(&m_group, m_environment);
    g_hExitEvent.Reset();
    m_clock.onWait = nullptr;
    Pump();
}

void VirtualStation::Pump() {
    for (const QueuedMessage& message : m_list.Take(std::chrono::milliseconds(0))) {
        m_watch->Handle(message.message, message.wParam);
    }
    m_watch->CheckPorts();
    m_watch->CheckPlant(m_clock.Now());
    m_alerts->Dispatcher().DeliverDue();
}

PlantTotals VirtualStation::Totals(std::time_t now) {
    PlantTotals totals;
    totals.when = now;
    auto lock = m_group.Lock();
    for (const auto& inverter : m_group.m_inverters) {
        ++totals.registered;
        if (FreshnessOf(*inverter, now, g_nInterval) != Freshness::Fresh) {
            continue;
        }
        ++totals.reporting;
        if (inverter->m_nErrorState == ERROR_STATE_CLEAR) {
            totals.powerW += inverter->m_pRuntimeData->GetOutputPower();
        }
    }
    return totals;
}

std::string VirtualStation::Execute(const std::string& command) {
    return sim::ControlCommands(*this, m_factory, *this).Execute(command);
}

std::vector<Alert> VirtualStation::Alerts() const {
    std::lock_guard lock(m_record->mutex);
    return m_record->alerts;
}

std::vector<Alert> VirtualStation::Alerts(const std::string& rule, AlertState state) const {
    std::vector<Alert> found;
    for (const Alert& alert : Alerts()) {
        if (alert.rule == rule && alert.state == state) {
            found.push_back(alert);
        }
    }
    return found;
}

bool VirtualStation::Vanish(int, std::string& error) {
    error = "a virtual bus cannot vanish";
    return false;
}

bool VirtualStation::Restore(int, std::string& error) {
    error = "a virtual bus cannot vanish";
    return false;
}
