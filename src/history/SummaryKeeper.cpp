#include "SummaryKeeper.h"

#include "SummaryLock.h"
#include "SummaryRebuild.h"
#include "SummaryStore.h"
#include "platform/DataDirectory.h"
#include "platform/Log.h"

#include <algorithm>
#include <cstdio>
#include <utility>

SummaryKeeper::SummaryKeeper(std::chrono::milliseconds batchPeriod) : m_batchPeriod(batchPeriod) {}

SummaryKeeper::~SummaryKeeper() {
    Stop();
}

void SummaryKeeper::Start() {
    std::lock_guard lock(m_lock);
    if (m_thread.joinable()) {
        return;
    }
    m_stop = false;
    m_state = State::OPENING;
    m_thread = std::thread(&SummaryKeeper::Run, this);
}

void SummaryKeeper::Stop() {
    {
        std::lock_guard lock(m_lock);
        m_stop = true;
    }
    m_wake.notify_all();
    m_flushed.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void SummaryKeeper::Notify(const std::string& historyFileName) {
    bool first = false;
    {
        std::lock_guard lock(m_lock);
        first = m_pending.empty();
        if (first) {
            m_firstPending = std::chrono::steady_clock::now();
        }
        m_pending.insert(historyFileName);
    }
    // With nothing pending the thread waits without a deadline.
    if (first) {
        m_wake.notify_all();
    }
}

bool SummaryKeeper::Flush() {
    std::unique_lock lock(m_lock);
    m_flushed.wait(lock, [&] { return m_state != State::OPENING; });
    if (m_state != State::RUNNING) {
        return false;
    }
    const std::uint64_t request = ++m_flushRequested;
    m_wake.notify_all();
    m_flushed.wait(lock, [&] { return m_flushDone >= request || m_state != State::RUNNING; });
    return m_flushDone >= request && m_problem.empty();
}

SummaryKeeper::Readiness SummaryKeeper::WaitUntilOpen() {
    std::unique_lock lock(m_lock);
    m_flushed.wait(lock, [&] { return m_state != State::OPENING || m_bRebuilding || m_stop; });
    if (m_state == State::RUNNING) {
        return Readiness::READY;
    }
    return m_state == State::OPENING && m_bRebuilding ? Readiness::REBUILDING
                                                      : Readiness::UNAVAILABLE;
}

std::string SummaryKeeper::Problem() const {
    std::lock_guard lock(m_lock);
    return m_problem;
}

void SummaryKeeper::Report(const std::string& problem) {
    std::lock_guard lock(m_lock);
    if (!problem.empty() && problem != m_problem) {
        Log(LogLevel::Warning, "history summary: " + problem);
    }
    m_problem = problem;
}

void SummaryKeeper::Finished(std::uint64_t flushRequest) {
    {
        std::lock_guard lock(m_lock);
        m_flushDone = std::max(m_flushDone, flushRequest);
    }
    m_flushed.notify_all();
}

void SummaryKeeper::Run() {
    SummaryLock writeRight;
    SummaryStore store;
    RebuildReport report;
    std::string problem;
    // A rebuild of years of history must not hold up the station's shutdown.
    const auto carryOn = [this](std::int64_t, std::int64_t) {
        std::lock_guard lock(m_lock);
        if (!m_bRebuilding) {
            m_bRebuilding = true;
            m_flushed.notify_all();
        }
        return !m_stop;
    };
    const bool opened =
        writeRight.Acquire(&problem) && OpenSummary(store, report, &problem, carryOn);
    Report(opened ? RebuildNote(report) : problem);
    std::unique_lock lock(m_lock);
    m_state = opened ? State::RUNNING : State::IDLE;
    m_bRebuilding = false;
    m_flushed.notify_all();
    if (!opened) {
        return;
    }
    const auto asked = [&] { return m_stop || m_flushRequested > m_flushDone; };
    for (;;) {
        m_wake.wait(lock, [&] { return asked() || !m_pending.empty(); });
        m_wake.wait_until(lock, m_firstPending + m_batchPeriod, asked);
        std::set<std::string> files = std::exchange(m_pending, {});
        const std::uint64_t flushRequest = m_flushRequested;
        const bool stopping = m_stop;
        lock.unlock();
        const bool usable = files.empty() || Process(store, files);
        if (!usable) {
            report = {};
            const bool replaced = ReplaceDamagedSummary(store, report, &problem, carryOn);
            Report(replaced ? RebuildNote(report) : problem);
        }
        Finished(flushRequest);
        lock.lock();
        if (stopping) {
            break;
        }
    }
    m_state = State::IDLE;
    lock.unlock();
    m_flushed.notify_all();
}

bool SummaryKeeper::Process(SummaryStore& store, std::set<std::string>& files) {
    SummaryUpdater updater(store, HistLogDirectory());
    ReadCounts counts;
    SqliteTransaction transaction = store.Begin();
    bool done = transaction.Begun();
    for (auto file = files.begin(); done && file != files.end(); ++file) {
        done = updater.Update(*file, counts);
    }
    done = done && store.RefreshPlant(updater.TakeTouched()) && transaction.Commit();
    if (done) {
        Report(counts.unreadable.empty() ? std::string() : counts.unreadable.front());
        return true;
    }
    const bool damaged = store.Damaged();
    Report(updater.Error().empty() ? store.Error() : updater.Error());
    if (!damaged) {
        // Nothing was stored: the next batch reads the same lines again.
        std::lock_guard lock(m_lock);
        if (m_pending.empty()) {
            m_firstPending = std::chrono::steady_clock::now();
        }
        m_pending.merge(files);
    }
    return !damaged;
}
