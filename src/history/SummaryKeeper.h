#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <thread>

class SummaryStore;

// Keeps the summary up to date as polls arrive, on a thread of its own: the
// poll only names the history file that just grew, and every batch
// period the thread reads what the named files gained, in one transaction.
// At its start the thread opens the summary, building it when needed, and
// reads whatever the files gained while the station was not running.
class SummaryKeeper {
public:
    explicit SummaryKeeper(std::chrono::milliseconds batchPeriod = std::chrono::seconds(5));
    ~SummaryKeeper();
    SummaryKeeper(const SummaryKeeper&) = delete;
    SummaryKeeper& operator=(const SummaryKeeper&) = delete;

    void Start();
    // Writes what is queued, then ends the thread.
    void Stop();
    void Notify(const std::string& historyFileName);
    // Waits until everything named so far is in the summary; false when the
    // thread does not keep the summary (not started, or it could not open it).
    [[nodiscard]] bool Flush();
    enum class Readiness { READY, REBUILDING, UNAVAILABLE };
    // Waits while the summary is being opened and caught up with the files.
    // A summary being built anew from every file is told at once, as is one
    // that is not kept.
    Readiness WaitUntilOpen();
    // Why the summary is not being kept, or the last failure; empty if none.
    std::string Problem() const;

private:
    void Run();
    // False when the summary is damaged and has to be opened again.
    bool Process(SummaryStore& store, std::set<std::string>& files);
    void Report(const std::string& problem);
    void Finished(std::uint64_t flushRequest);

    const std::chrono::milliseconds m_batchPeriod;
    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    std::condition_variable m_flushed;
    std::set<std::string> m_pending;
    std::chrono::steady_clock::time_point m_firstPending;
    std::uint64_t m_flushRequested = 0;
    std::uint64_t m_flushDone = 0;
    bool m_stop = false;
    bool m_bRebuilding = false;
    enum class State { IDLE, OPENING, RUNNING } m_state = State::IDLE;
    std::string m_problem;
    std::thread m_thread;
};
