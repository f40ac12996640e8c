#pragma once

#include "InverterKind.h"
#include "comm/CommThread.h"
#include "comm/PollSink.h"
#include "model/InverterGroup.h"
#include "platform/MessageTarget.h"
#include "store/StationPollSink.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

// One decoded poll as its communication thread saw it.
struct PollStamp {
    const CInverterGroup* group = nullptr;
    std::uint8_t address = 0;
    std::chrono::steady_clock::time_point at;
    std::int64_t threadCpuUs = 0; // user + system time of the polling thread so far
};

// What kind of plant, and how the station meets it.
struct PlantSetup {
    sim::InverterKind kind = sim::InverterKind::Single;
    bool fastReplies = false;
    // The inverters get their addresses over the bus before the station
    // starts, and each group starts with the records registration would have
    // built; otherwise the station registers them itself.
    bool registered = true;
    int interval = 1; // sampling interval, seconds
};

// Buses of simulated inverters served by heliowatch-sim in a process of its
// own, so that its work is not counted as the station's, and the station
// polling them: one group and communication thread per bus.
class PolledPlant : public PollSink, public MessageTarget {
public:
    PolledPlant(int buses, int invertersPerBus, bool withHistory, PlantSetup setup = {});
    ~PolledPlant() override;
    PolledPlant(const PolledPlant&) = delete;
    PolledPlant& operator=(const PolledPlant&) = delete;

    bool Start(std::string& error);
    void Stop();

    // On the communication threads: time and CPU stamp, then what the
    // station does with every sample (fault tracking, history line).
    void OnSampleDecoded(CInverter& inverter) override;
    // Stands in for the list view, whose share of a poll is one posted
    // message; what the view then does runs on another thread.
    void Post(unsigned message, std::uintptr_t wParam) override;

    std::vector<PollStamp> Stamps() const;
    std::size_t StampCount() const;
    // What the record of the polls itself takes.
    double StampMegabytes() const;
    const CInverterGroup& Group(std::size_t index) const { return *m_groups.at(index); }
    // When the first communication thread was started.
    std::chrono::steady_clock::time_point Started() const { return m_started; }
    // Records of every bus that have their description.
    std::size_t DescribedRecords() const;
    // Samples in the day series of every record.
    std::size_t SeriesSamples() const;
    int Buses() const { return m_buses; }
    int InvertersPerBus() const { return m_invertersPerBus; }

private:
    bool StartSimulator(std::string& error);
    bool AssignAddresses(std::string& error);
    void BuildGroups();
    void StopSimulator();

    int m_buses;
    int m_invertersPerBus;
    bool m_withHistory;
    PlantSetup m_setup;
    std::chrono::steady_clock::time_point m_started;
    std::string m_directory;
    pid_t m_simulator = -1;
    int m_simulatorOutput = -1;
    StationPollSink m_station;
    std::vector<std::unique_ptr<CInverterGroup>> m_groups;
    std::vector<std::unique_ptr<CommThread>> m_threads;
    mutable std::mutex m_stampsLock;
    std::vector<PollStamp> m_stamps;
};
