#include "HeliowatchDoc.h"

#include "BusSettings.h"
#include "Freshness.h"
#include "PaneTargets.h"
#include "PortSettings.h"
#include "SettingsStore.h"
#include "comm/CommShared.h"
#include "comm/CommThread.h"
#include "comm/WindowMessages.h"
#include "model/ErrorState.h"
#include "model/InverterGroup.h"
#include "platform/Clock.h"
#include "platform/DataDirectory.h"
#include "platform/ExitEvent.h"
#include "platform/Log.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr int UNSET = -1;
constexpr int LINE_BAUD = 9600;
constexpr int LINE_DATA_BITS = 8;

// A sensor change the thread has not carried out yet is what the operator
// chose, so it is what gets saved.
int CurrentEnvPort(const CInverterGroup& group) {
    if (group.m_bEnvChangeRequest) {
        return group.m_nNewEnvComPort;
    }
    return group.m_bEnvEnabled ? group.m_nEnvComPort.load() : 0;
}
} // namespace

CHeliowatchDoc::CHeliowatchDoc(CommEnvironment environment, std::string settingsPath)
    : m_environment(std::move(environment)),
      m_settings(std::make_unique<SettingsStore>(std::move(settingsPath))) {
    m_environment.sink = &m_sink;
    m_sink.SetPlantCurves(&m_plantCurves);
    g_hExitEvent.Reset();
}

// Threads first: no group may be destroyed under its running thread.
CHeliowatchDoc::~CHeliowatchDoc() {
    OnCloseDocument();
}

bool CHeliowatchDoc::OnNewDocument(std::string* problem) {
    if (!LoadSettings(problem)) {
        return false;
    }
    // A folder that cannot be made now is reported by the first write that
    // misses it, and made again then if it can be.
    static_cast<void>(CreateDataDirectories());
    // The threads wait for the views, so no sample arrives before this.
    if (m_history != nullptr) {
        m_history->Start(m_plantCurves);
    }
    return true;
}

void CHeliowatchDoc::FollowHistory(HistoryFollower* follower) {
    m_history = follower;
    m_sink.SetHistoryFollower(follower);
}

bool CHeliowatchDoc::LoadSettings(std::string* problem) {
    if (const std::string reason = m_settings->Problem(); !reason.empty()) {
        if (problem != nullptr) {
            *problem = reason;
        }
        return false;
    }
    for (const std::string& keyProblem : m_settings->KeyProblems()) {
        Log(LogLevel::Warning, keyProblem);
    }
    m_mqtt = LoadMqttSettings(m_settings->Path());
    if (const int interval = m_settings->GetInt("Interval", "Interval", UNSET, INTERVAL_RANGE);
        interval > 0) {
        g_nInterval = interval;
    }
    g_bFastReplies = ReadFastReplies(*m_settings);
    for (const EnabledPort& port : ReadEnabledPorts(*m_settings)) {
        AddPortGroup(port.comPort, port.envComPort);
    }
    return true;
}

void CHeliowatchDoc::AddPortGroup(int comPort, int envComPort) {
    if (comPort <= 0) {
        return;
    }
    auto group = std::make_unique<CInverterGroup>();
    group->m_nComPort = comPort;
    group->m_nBaudRate = LINE_BAUD;
    group->m_nDataBits = LINE_DATA_BITS;
    group->m_nEnvComPort = envComPort;
    group->m_bEnvEnabled = envComPort > 0 ? 1 : 0;
    group->m_nEnvBaudRate = LINE_BAUD;
    group->m_nEnvDataBits = LINE_DATA_BITS;
    Port entry{std::move(group), nullptr};
    entry.thread = std::make_unique<CommThread>(entry.group.get(), m_environment);
    const std::lock_guard guard(m_groupsLock);
    m_groups.push_back(std::move(entry));
}

const std::string& CHeliowatchDoc::SettingsPath() const {
    return m_settings->Path();
}

bool CHeliowatchDoc::SaveComSettings() {
    bool written = true;
    for (const Port& port : m_groups) {
        const CInverterGroup& group = *port.group;
        const std::string section = PortSection(group.m_nComPort);
        const bool enabled = group.m_bStopRequest == 0;
        const int envPort = enabled ? CurrentEnvPort(group) : 0;
        written &= m_settings->WriteInt(section, "Enable", enabled ? 1 : 0);
        written &= m_settings->WriteInt(section, "EnvironmentEnable", envPort > 0 ? 1 : 0);
        written &= m_settings->WriteInt(section, "EnvironmentCom", envPort > 0 ? envPort : 0);
        if (!written) {
            break;
        }
    }
    return Saved(written);
}

bool CHeliowatchDoc::Saved(bool written) {
    m_strSaveProblem = written ? std::string() : m_settings->WriteProblem();
    return written;
}

bool CHeliowatchDoc::SetMqttSettings(const MqttSettings& settings) {
    m_mqtt = settings;
    return SaveMqttSettings(m_settings->Path(), settings, &m_strSaveProblem);
}

int CHeliowatchDoc::GetInterval() const {
    return g_nInterval;
}

bool CHeliowatchDoc::SetInterval(int seconds) {
    if (seconds != g_nInterval) {
        g_nInterval = seconds;
        for (const auto* pane : {&g_hGeneralStatusWnd, &g_hTodayEnergyWnd, &g_hPowerWnd}) {
            PostTo(*pane, WM_INTERVAL_CHANGED, 0);
        }
    }
    return Saved(m_settings->WriteInt("Interval", "Interval", g_nInterval));
}

bool CHeliowatchDoc::GetFastReplies() const {
    return g_bFastReplies;
}

bool CHeliowatchDoc::SetFastReplies(bool on) {
    g_bFastReplies = on;
    return Saved(WriteFastReplies(*m_settings, on));
}

// Energies keep the last known values of every inverter; power counts only
// inverters whose reading is current and free of faults.
template <class Accessor>
double CHeliowatchDoc::SumOverInverters(Accessor accessor, bool onlyProducing) const {
    const std::time_t now = Now();
    double sum = 0.0;
    for (const Port& port : m_groups) {
        auto lock = port.group->Lock();
        for (const auto& inverter : port.group->m_inverters) {
            if (!inverter->m_pRuntimeData) {
                continue;
            }
            if (onlyProducing && (inverter->m_nErrorState != ERROR_STATE_CLEAR ||
                                  FreshnessOf(*inverter, now, GetInterval()) != Freshness::Fresh)) {
                continue;
            }
            sum += accessor(*inverter->m_pRuntimeData);
        }
    }
    return sum;
}

std::time_t CHeliowatchDoc::Now() const {
    return m_environment.clock != nullptr ? m_environment.clock->Now() : std::time(nullptr);
}

double CHeliowatchDoc::GetTotalEToday() const {
    return SumOverInverters([](const RuntimeData& data) { return data.GetEToday(); }, false);
}

double CHeliowatchDoc::GetTotalETotal() const {
    return SumOverInverters([](const RuntimeData& data) { return data.GetETotal(); }, false);
}

double CHeliowatchDoc::GetTotalPower() const {
    return SumOverInverters([](const RuntimeData& data) { return data.GetOutputPower(); }, true);
}

std::vector<CInverterGroup*> CHeliowatchDoc::GetGroups() const {
    std::vector<CInverterGroup*> groups;
    for (const Port& port : m_groups) {
        groups.push_back(port.group.get());
    }
    return groups;
}

void CHeliowatchDoc::VisitGroups(const std::function<void(const CInverterGroup&)>& visit) const {
    const std::lock_guard guard(m_groupsLock);
    for (const Port& port : m_groups) {
        visit(*port.group);
    }
}

bool CHeliowatchDoc::WithInverter(
    const CInverter* inverter, const std::function<void(CInverter&, CInverterGroup&)>& use) const {
    for (const Port& port : m_groups) {
        auto lock = port.group->Lock();
        for (const auto& record : port.group->m_inverters) {
            if (record.get() == inverter) {
                use(*record, *port.group);
                return true;
            }
        }
    }
    return false;
}

void CHeliowatchDoc::RemovePortGroup(CInverterGroup* group) {
    auto found = std::find_if(m_groups.begin(), m_groups.end(),
                              [group](const Port& port) { return port.group.get() == group; });
    if (found == m_groups.end()) {
        return;
    }
    // The thread posted its stop message as its last act; let it return
    // before its group goes.
    found->thread->Join();
    {
        auto lock = group->Lock();
        for (const auto& inverter : group->m_inverters) {
            if (inverter.get() == m_pCurInverter) {
                m_pCurInverter = nullptr;
            }
        }
    }
    const std::lock_guard guard(m_groupsLock);
    m_groups.erase(found);
}

void CHeliowatchDoc::ReconnectAll() {
    const std::lock_guard guard(m_groupsLock);
    for (const Port& port : m_groups) {
        port.group->m_bReconnectRequest = 1;
    }
}

void CHeliowatchDoc::OnCloseDocument(std::chrono::milliseconds bound) {
    g_hExitEvent.Set();
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (Port& port : m_groups) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (port.thread->WaitFinished(std::max(left, std::chrono::milliseconds(0)))) {
            port.thread->Join();
            continue;
        }
        Log(LogLevel::Error, "the thread of port COM" + std::to_string(port.group->m_nComPort) +
                                 " did not end in time");
        // Destroying a group under its running thread would be worse than
        // leaking both at exit.
        (void)port.thread.release();
        (void)port.group.release();
    }
    {
        const std::lock_guard guard(m_groupsLock);
        m_groups.clear();
    }
    m_pCurInverter = nullptr;
    if (m_history != nullptr) {
        m_history->Stop();
    }
}
