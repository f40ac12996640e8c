#pragma once

#include "FakeClock.h"
#include "InverterFactory.h"
#include "Recorders.h"
#include "RecordingChannel.h"
#include "ScriptedPort.h"
#include "SimBus.h"
#include "SimClock.h"
#include "SimPlant.h"
#include "TempDirectory.h"
#include "alerts/AlertCenter.h"
#include "comm/CommEnvironment.h"
#include "model/InverterGroup.h"
#include "station/MessageQueue.h"
#include "store/StationPollSink.h"
#include "store/StationWatch.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

// The station's alerts over one simulated bus in virtual time: the
// simulator's inverters answer the real communication thread, which runs on
// the test's thread; its messages become events for the alert rules as in
// the station, and alerts reach a recording channel.
class VirtualStation : public sim::SimPlant, public sim::SimClock {
public:
    VirtualStation(int inverters, std::time_t start, const AlertSettings& settings);
    ~VirtualStation() override;

    // Runs the station for a while of virtual time.
    void RunFor(std::chrono::seconds duration);
    // A control command of the simulator ("set COM3:1 fault 2 0x400", ...).
    std::string Execute(const std::string& command);
    std::vector<Alert> Alerts() const;
    // The alerts of one rule and state.
    std::vector<Alert> Alerts(const std::string& rule, AlertState state) const;
    std::string Serial(int position) const { return m_factory.SerialFor(PORT, position); }
    FakeClock& Clock() { return m_clock; }

    std::vector<sim::SimBus*> Buses() override { return {&m_bus}; }
    std::string PtyPath(int) const override { return "virtual"; }
    bool Vanish(int, std::string& error) override;
    bool Restore(int, std::string& error) override;
    std::int64_t Now() const override { return m_clock.NowMs() / 1000; }

    static constexpr int PORT = 3;

private:
    void Pump();
    // As the document reckons them: power of the fresh inverters free of faults.
    PlantTotals Totals(std::time_t now);

    TempDirectory m_directory;
    FakeClock m_clock;
    sim::InverterFactory m_factory;
    sim::SimBus m_bus{PORT};
    ScriptedWire m_wire;
    RecordingNotifier m_notifier;
    StationPollSink m_sink;
    MessageQueue m_list;
    CInverterGroup m_group;
    CommEnvironment m_environment;
    std::unique_ptr<StationWatch> m_watch;
    std::shared_ptr<RecordingChannel::Record> m_record;
    std::unique_ptr<AlertCenter> m_alerts;
    std::int64_t m_lastPumpMs = 0;
};
