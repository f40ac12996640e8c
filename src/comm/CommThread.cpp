#include "CommThread.h"

#include "CommSession.h"
#include "CommShared.h"
#include "InverterCommands.h"
#include "Polling.h"
#include "PortOpening.h"
#include "Registration.h"
#include "Scheduler.h"
#include "WindowMessages.h"
#include "model/InverterGroup.h"
#include "platform/Clock.h"
#include "platform/ExitEvent.h"
#include "platform/Log.h"
#include "platform/Trace.h"

namespace {
using std::chrono::milliseconds;

constexpr milliseconds LOOP_WAIT{30};
constexpr milliseconds VIEWS_WAIT_STEP{100};
constexpr int VIEWS_WAIT_STEPS = 102;
constexpr int IDLE_ATTEMPTS_BEFORE_RE_REGISTER = 16;
constexpr int START_RE_REGISTER_BROADCASTS = 3;

SerialSettings BusSettings(const CInverterGroup& group) {
    return {group.m_nComPort, group.m_nBaudRate, group.m_nParity, group.m_nDataBits,
            group.m_nStopBits};
}

SerialSettings EnvSettings(const CInverterGroup& group) {
    return {group.m_nEnvComPort, group.m_nEnvBaudRate, group.m_nEnvParity, group.m_nEnvDataBits,
            group.m_nEnvStopBits};
}

bool CreatePorts(CInverterGroup& group, const CommEnvironment& environment) {
    group.m_pSerial = environment.makePort(BusSettings(group));
    if (!group.m_pSerial) {
        return false;
    }
    if (group.m_bEnvEnabled) {
        group.m_pEnvSerial = environment.makePort(EnvSettings(group));
        if (!group.m_pEnvSerial) {
            return false;
        }
    }
    return true;
}

void OpenPorts(CInverterGroup& group) {
    OpenInverterPort(group);
    if (group.m_bEnvEnabled) {
        group.m_bEnvPortOpen = group.m_pEnvSerial->Open();
    }
}

enum class ViewsWait { CREATED, SHUTDOWN, GAVE_UP };

ViewsWait WaitForViews(Clock& clock) {
    for (int waited = 0; g_viewsCreated.load() == 0; ++waited) {
        if (waited == VIEWS_WAIT_STEPS) {
            return ViewsWait::GAVE_UP;
        }
        if (clock.WaitForEvent(g_hExitEvent, VIEWS_WAIT_STEP)) {
            return ViewsWait::SHUTDOWN;
        }
    }
    return ViewsWait::CREATED;
}

void StopPorts(CInverterGroup& group, Clock& clock) {
    group.m_pSerial->Close();
    if (group.m_bEnvEnabled) {
        group.m_pEnvSerial->Close();
    }
    clock.Sleep(milliseconds(10));
    PostTo(g_hListWnd, WM_PORT_STOPPED, reinterpret_cast<std::uintptr_t>(&group));
}

void ChangeEnvPort(CInverterGroup& group, const CommEnvironment& environment) {
    group.m_bEnvChangeRequest = 0;
    if (group.m_bEnvEnabled) {
        group.m_pEnvSerial->Close();
        group.m_pEnvSerial.reset();
        group.m_bEnvEnabled = 0;
    }
    const int newPort = group.m_nNewEnvComPort.load();
    if (newPort <= 0) {
        return;
    }
    group.m_nEnvComPort = newPort;
    group.m_pEnvSerial = environment.makePort(EnvSettings(group));
    if (group.m_pEnvSerial) {
        group.m_nNewEnvComPort = 0;
        group.m_bEnvEnabled = 1;
    }
}

void ReopenClosedPorts(CInverterGroup& group) {
    if (!group.m_pSerial->IsOpen()) {
        OpenInverterPort(group);
        if (group.m_pSerial->IsOpen()) {
            ++group.m_nReopens;
        }
    }
    if (group.m_bEnvEnabled && !group.m_pEnvSerial->IsOpen()) {
        group.m_bEnvPortOpen = group.m_pEnvSerial->Open();
    }
}

CommStep RunStep(CommSession& session, CommStep step) {
    switch (step) {
    case STEP_SCHEDULE: return ChooseNextStep(session);
    case STEP_REGISTER: ++session.registrationCount; return RegisterNewInverter(session);
    case STEP_POLL: return PollAllInverters(session);
    case STEP_WRITE_PARAMS: return WritePendingParams(session);
    case STEP_REMOVE: session.reRegisterAllowed = false; return RemoveRequestedInverter(session);
    case STEP_RESET_TOTALS: return ResetRequestedTotals(session);
    case STEP_CHANGE_SERIAL: return ChangeRequestedSerial(session);
    case STEP_RECONNECT_ALL:
        session.reRegisterAllowed = true;
        return BroadcastReconnectAll(session);
    }
    return STEP_SCHEDULE;
}

// While the port has no inverter, re-register broadcasts go out now and then
// in case inverters kept addresses from an earlier session.
void CountIdleAttempts(CommSession& session) {
    if (!session.group.Inverters().empty()) {
        session.registrationCount = 0;
    } else if (session.registrationCount > IDLE_ATTEMPTS_BEFORE_RE_REGISTER) {
        session.registrationCount = 0;
        if (session.reRegisterAllowed) {
            BroadcastReRegister(session);
        }
    }
}

// In fast mode only a pass that found nothing to do is followed by the
// pause; work goes on at once.
milliseconds LoopWait(bool idle) {
    return g_bFastReplies.load() && !idle ? milliseconds(0) : LOOP_WAIT;
}

int RunLoop(CommSession& session) {
    CInverterGroup& group = session.group;
    Clock& clock = *session.environment.clock;
    CommStep next = STEP_REGISTER;
    bool idle = false;
    for (;;) {
        if (clock.WaitForEvent(g_hExitEvent, LoopWait(idle))) {
            return 0;
        }
        if (group.m_bStopRequest) {
            StopPorts(group, clock);
            return 0;
        }
        if (group.m_bEnvChangeRequest) {
            ChangeEnvPort(group, session.environment);
        }
        ReopenClosedPorts(group);
        const CommStep ran = next;
        next = RunStep(session, ran);
        idle = ran == STEP_SCHEDULE && next == STEP_SCHEDULE;
        CountIdleAttempts(session);
        session.Beat();
    }
}
} // namespace

int CommThreadProc(CInverterGroup* group, const CommEnvironment& environment) {
    if (group == nullptr || !CreatePorts(*group, environment)) {
        return 1;
    }
    OpenPorts(*group);
    group->m_nHeartbeatMs = environment.clock->Monotonic().count();
    switch (WaitForViews(*environment.clock)) {
    case ViewsWait::CREATED: break;
    case ViewsWait::SHUTDOWN: return 0;
    case ViewsWait::GAVE_UP:
        Log(LogLevel::Error, "COM" + std::to_string(group->m_nComPort) +
                                 " is not polled: the window was not up within " +
                                 std::to_string(VIEWS_WAIT_STEPS * VIEWS_WAIT_STEP.count()) +
                                 " ms");
        return 1;
    }
    Trace("Begin COMM\n");
    CommSession session{*group, environment, {}, {}};
    for (int i = 0; i < START_RE_REGISTER_BROADCASTS; ++i) {
        BroadcastReRegister(session);
    }
    return RunLoop(session);
}

CommThread::CommThread(CInverterGroup* group, CommEnvironment environment)
    : m_environment(std::move(environment)) {
    // A thread that has not run yet is not stuck yet.
    if (group != nullptr && m_environment.clock != nullptr) {
        group->m_nHeartbeatMs = m_environment.clock->Monotonic().count();
    }
    m_thread = std::thread(&CommThread::Run, this, group);
}

CommThread::~CommThread() {
    Join();
}

void CommThread::Run(CInverterGroup* group) {
    m_nExitCode = CommThreadProc(group, m_environment);
    {
        std::lock_guard lock(m_mutex);
        m_bFinished = true;
    }
    m_finished.notify_all();
}

bool CommThread::WaitFinished(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_finished.wait_for(lock, timeout, [this] { return m_bFinished.load(); });
}

void CommThread::Join() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
}
