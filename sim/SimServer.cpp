#include "SimServer.h"

#include "ReadyEvents.h"
#include "platform/PortDirectory.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <future>
#include <sys/eventfd.h>
#include <unistd.h>

namespace sim {

SimServer::SimServer(SimServerConfig config, const SimClock& clock, InverterFactory factory)
    : m_portDirectory(std::move(config.portDirectory)),
      m_controlPath(std::move(config.controlPath)), m_wireTime(config.wireTime), m_clock(clock),
      m_factory(std::move(factory)), m_commands(*this, m_factory, clock) {
    for (SimBus& bus : config.buses) {
        m_ports.push_back({std::move(bus), nullptr, ReplySchedule(Turnaround())});
    }
}

SimServer::~SimServer() {
    Stop();
}

bool SimServer::Open(std::string& error) {
    m_stopRequested.store(false);
    std::error_code ignored;
    std::filesystem::create_directories(m_portDirectory, ignored);
    m_wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd < 0) {
        error = "eventfd failed";
        return false;
    }
    for (BusPort& port : m_ports) {
        if (!Restore(port.bus.Port(), error)) {
            Close();
            return false;
        }
    }
    if (!m_controlPath.empty() && !m_control.Open(m_controlPath, error)) {
        Close();
        return false;
    }
    return true;
}

void SimServer::Close() {
    m_control.Close();
    for (BusPort& port : m_ports) {
        port.link.reset();
    }
    if (m_wakeFd >= 0) {
        close(m_wakeFd);
        m_wakeFd = -1;
    }
}

void SimServer::Run() {
    {
        std::lock_guard lock(m_callsLock);
        m_looping = true;
        m_loopThread = std::this_thread::get_id();
    }
    Loop();
}

void SimServer::RequestStop() {
    m_stopRequested.store(true);
    Wake();
}

bool SimServer::Start(std::string& error) {
    if (!Open(error)) {
        return false;
    }
    std::lock_guard lock(m_callsLock);
    m_looping = true;
    m_thread = std::thread([this] { Loop(); });
    m_loopThread = m_thread.get_id();
    return true;
}

void SimServer::Stop() {
    RequestStop();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    Close();
}

void SimServer::Wake() const {
    if (m_wakeFd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(m_wakeFd, &one, sizeof one);
    }
}

void SimServer::Loop() {
    while (!m_stopRequested.load()) {
        std::vector<pollfd> fds{{m_wakeFd, POLLIN, 0}};
        for (const BusPort& port : m_ports) {
            if (port.link) {
                fds.push_back({port.link->MasterFd(), POLLIN, 0});
                fds.push_back({port.link->CloseWatchFd(), POLLIN, 0});
            }
        }
        m_control.AddPollFds(fds);
        const std::optional<timespec> timeout = TimeToNextByte();
        if (ppoll(fds.data(), fds.size(), timeout ? &*timeout : nullptr, nullptr) < 0 &&
            errno != EINTR) {
            break;
        }
        ServeBuses(fds);
        SendDueBytes();
        m_control.Service(fds,
                          [this](const std::string& line) { return m_commands.Execute(line); });
        if ((fds[0].revents & POLLIN) != 0) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t got = read(m_wakeFd, &count, sizeof count);
            RunQueuedCalls();
        }
    }
    {
        std::lock_guard lock(m_callsLock);
        m_looping = false;
    }
    RunQueuedCalls();
}

void SimServer::ServeBuses(const std::vector<pollfd>& fds) {
    for (BusPort& port : m_ports) {
        if (!port.link) {
            continue;
        }
        if ((ReadyEvents(fds, port.link->MasterFd()) & POLLIN) != 0) {
            Answer(port);
        }
        if ((ReadyEvents(fds, port.link->CloseWatchFd()) & POLLIN) != 0) {
            port.link->OnSlaveClosed();
        }
    }
}

void SimServer::Answer(BusPort& port) {
    const auto now = ReplySchedule::Clock::now();
    const std::vector<std::uint8_t> request = port.link->ReadAvailable();
    const auto characterTime = CharacterTime(*port.link);
    port.schedule.Heard(request.size(), characterTime, now);
    port.schedule.Send(port.bus.Receive(request.data(), request.size(), m_clock.Now()),
                       characterTime);
}

void SimServer::SendDueBytes() {
    const auto now = ReplySchedule::Clock::now();
    for (BusPort& port : m_ports) {
        const std::vector<std::uint8_t> due = port.schedule.TakeDue(now);
        if (port.link && !due.empty()) {
            port.link->Write(due);
        }
    }
}

std::optional<timespec> SimServer::TimeToNextByte() const {
    std::optional<ReplySchedule::Clock::time_point> next;
    for (const BusPort& port : m_ports) {
        const auto due = port.schedule.NextDue();
        if (due && (!next || *due < *next)) {
            next = due;
        }
    }
    if (!next) {
        return std::nullopt;
    }
    const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::max(*next - ReplySchedule::Clock::now(), ReplySchedule::Clock::duration::zero()));
    return timespec{static_cast<time_t>(wait.count() / 1'000'000'000),
                    static_cast<long>(wait.count() % 1'000'000'000)};
}

ReplySchedule::Clock::duration SimServer::CharacterTime(const PtyLink& link) const {
    return m_wireTime.paced ? link.CharacterTime() : ReplySchedule::Clock::duration::zero();
}

ReplySchedule::Clock::duration SimServer::Turnaround() const {
    return m_wireTime.paced ? m_wireTime.turnaround : ReplySchedule::Clock::duration::zero();
}

void SimServer::RunInLoop(const std::function<void()>& action) const {
    std::unique_lock lock(m_callsLock);
    if (!m_looping || std::this_thread::get_id() == m_loopThread) {
        lock.unlock();
        action();
        return;
    }
    std::promise<void> done;
    m_calls.push_back([&] {
        action();
        done.set_value();
    });
    lock.unlock();
    Wake();
    done.get_future().wait();
}

void SimServer::RunQueuedCalls() const {
    std::vector<std::function<void()>> calls;
    {
        std::lock_guard lock(m_callsLock);
        calls.swap(m_calls);
    }
    for (const auto& call : calls) {
        call();
    }
}

std::string SimServer::Execute(const std::string& line) {
    std::string reply;
    RunInLoop([&] { reply = m_commands.Execute(line); });
    return reply;
}

bool SimServer::WithBus(int port, const std::function<void(SimBus&)>& action) {
    bool found = false;
    RunInLoop([&] {
        if (BusPort* entry = FindPort(port)) {
            action(entry->bus);
            found = true;
        }
    });
    return found;
}

std::string SimServer::LinkPath(int port) const {
    return m_portDirectory + "/" + PortEntryName(port);
}

std::string SimServer::PtyPath(int port) const {
    std::string path;
    RunInLoop([&] {
        const BusPort* entry = FindPort(port);
        if (entry != nullptr && entry->link) {
            path = entry->link->SlavePath();
        }
    });
    return path;
}

std::vector<SimBus*> SimServer::Buses() {
    std::vector<SimBus*> buses;
    for (BusPort& port : m_ports) {
        buses.push_back(&port.bus);
    }
    return buses;
}

bool SimServer::Vanish(int port, std::string& error) {
    BusPort* entry = FindPort(port);
    if (entry == nullptr || !entry->link) {
        error = PortEntryName(port) + " is not present";
        return false;
    }
    entry->link.reset();
    entry->schedule = ReplySchedule(Turnaround());
    return true;
}

bool SimServer::Restore(int port, std::string& error) {
    BusPort* entry = FindPort(port);
    if (entry == nullptr || entry->link) {
        error = PortEntryName(port) + " is not a vanished bus";
        return false;
    }
    auto link = std::make_unique<PtyLink>();
    if (!link->Open(LinkPath(port), error)) {
        return false;
    }
    entry->link = std::move(link);
    return true;
}

SimServer::BusPort* SimServer::FindPort(int port) {
    for (BusPort& entry : m_ports) {
        if (entry.bus.Port() == port) {
            return &entry;
        }
    }
    return nullptr;
}

const SimServer::BusPort* SimServer::FindPort(int port) const {
    for (const BusPort& entry : m_ports) {
        if (entry.bus.Port() == port) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace sim
