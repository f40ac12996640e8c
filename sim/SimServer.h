#pragma once

#include "ControlChannel.h"
#include "ControlCommands.h"
#include "InverterFactory.h"
#include "PtyLink.h"
#include "ReplySchedule.h"
#include "SimClock.h"
#include "SimPlant.h"
#include "SimServerConfig.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace sim {

// The simulator: one pty per bus, the control channel, and the loop that
// serves them. Either Open, Run and Close it on the calling thread (the
// command does), or Start and Stop it on a thread of its own (tests do).
//
// Replies wait in their bus's schedule until their bytes are due; the loop
// sleeps until then, so a reply under way never holds up the other buses,
// the control channel or a stop.
//
// All state belongs to the loop; calls from other threads are handed to it
// and wait for their result.
class SimServer : private SimPlant {
public:
    SimServer(SimServerConfig config, const SimClock& clock, InverterFactory factory);
    ~SimServer() override;
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    bool Open(std::string& error);
    void Run();
    // Safe in a signal handler.
    void RequestStop();
    // Closes the ptys and the control socket and removes their links.
    void Close();

    bool Start(std::string& error);
    void Stop();

    // A control command, as if it came through the control channel.
    std::string Execute(const std::string& line);
    // Runs an action on a bus inside the loop; false when there is no such bus.
    bool WithBus(int port, const std::function<void(SimBus&)>& action);
    std::string LinkPath(int port) const;
    std::string PtyPath(int port) const override;

private:
    struct BusPort {
        SimBus bus;
        std::unique_ptr<PtyLink> link;
        ReplySchedule schedule;
    };

    std::vector<SimBus*> Buses() override;
    bool Vanish(int port, std::string& error) override;
    bool Restore(int port, std::string& error) override;

    BusPort* FindPort(int port);
    const BusPort* FindPort(int port) const;
    void Loop();
    void ServeBuses(const std::vector<pollfd>& fds);
    void Answer(BusPort& port);
    void SendDueBytes();
    // Until the next reply byte is due; none when no reply is under way.
    std::optional<timespec> TimeToNextByte() const;
    ReplySchedule::Clock::duration CharacterTime(const PtyLink& link) const;
    ReplySchedule::Clock::duration Turnaround() const;
    void RunInLoop(const std::function<void()>& action) const;
    void RunQueuedCalls() const;
    void Wake() const;

    std::string m_portDirectory;
    std::string m_controlPath;
    WireTime m_wireTime;
    std::vector<BusPort> m_ports;
    const SimClock& m_clock;
    InverterFactory m_factory;
    ControlCommands m_commands;
    ControlChannel m_control;
    int m_wakeFd = -1;
    std::atomic<bool> m_stopRequested{false};
    std::thread m_thread;

    mutable std::mutex m_callsLock;
    mutable std::vector<std::function<void()>> m_calls;
    bool m_looping = false;
    std::thread::id m_loopThread;
};

} // namespace sim
