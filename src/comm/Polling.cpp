#include "Polling.h"

#include "CommSession.h"
#include "InverterCommands.h"
#include "PollSink.h"
#include "Registration.h"
#include "RuntimeDecode.h"
#include "Scheduler.h"
#include "WindowMessages.h"
#include "model/InverterGroup.h"
#include "platform/ExitEvent.h"

namespace {
// Decodes by the described kind. An inverter whose description never arrived
// has no record to decode into: it is polled, but nothing is kept.
bool DecodeReply(CommSession& session, CInverter& inverter) {
    const std::uint8_t* data = session.reply.Data();
    const std::size_t length = session.reply.Length();
    switch (inverter.m_nPhaseType.load()) {
    case 1: DecodeSingle(inverter, data, length, session.Now()); return true;
    case 3: DecodeThree(inverter, data, length, session.Now()); return true;
    default: return false;
    }
}

void AppendPowerSample(CInverter& inverter) {
    auto lock = inverter.Lock();
    if (inverter.m_pRuntimeData) {
        inverter.m_powerGraph.AddSample(CGraphSample{inverter.m_pRuntimeData->GetSampleTime(),
                                                     inverter.m_pRuntimeData->GetOutputPower()});
    }
}
} // namespace

CommStep PollAllInverters(CommSession& session) {
    const ScheduleMark start = session.Mark();
    for (CInverter* inverter : session.group.Inverters()) {
        // A full bus takes seconds to poll; shutdown need not wait for it.
        if (g_hExitEvent.IsSet()) {
            return STEP_SCHEDULE;
        }
        PollInverter(session, *inverter);
        RunWaitingWrites(session);
        if (TakeDueRegistration(session)) {
            RegisterNewInverter(session);
        }
    }
    session.group.m_nLastCycleMs = (session.Mark().m_monotonic - start.m_monotonic).count();
    return STEP_SCHEDULE;
}

void PollInverter(CommSession& session, CInverter& inverter) {
    ++inverter.m_nFailCount;
    ++session.group.m_nPolls;
    session.request.SetRequest(inverter.m_nAddress, CTRL_READ, FN_READ_RUNTIME_DATA);
    if (!session.Exchange(FN_READ_RUNTIME_DATA, false)) {
        ++session.group.m_nFailedPolls;
        if (inverter.m_nFailCount > MAX_FAILED_POLLS) {
            if (inverter.m_bOnline.exchange(0) == 1) {
                inverter.m_tOffline = session.Now();
            }
            session.PostToList(WM_INVERTER_UPDATED, &inverter);
        }
        return;
    }
    inverter.m_nFailCount = 0;
    inverter.m_bOnline = 1;
    const bool decoded = DecodeReply(session, inverter);
    if (decoded && session.environment.sink != nullptr) {
        session.environment.sink->OnSampleDecoded(inverter);
    }
    session.PostToList(WM_INVERTER_UPDATED, &inverter);
    if (decoded) {
        AppendPowerSample(inverter);
    }
}
