#include "StationPollSink.h"

#include "FaultTracking.h"
#include "HistoryWriter.h"
#include "PlantDayCurves.h"
#include "model/Inverter.h"

void StationPollSink::OnSampleDecoded(CInverter& inverter) {
    switch (inverter.m_nPhaseType.load()) {
    case 1:
        TrackFaultsSingle(inverter);
        WriteSingleHistory(inverter);
        break;
    case 3:
        TrackFaultsThree(inverter);
        WriteThreeHistory(inverter);
        break;
    default: return;
    }
    if (m_plantCurves != nullptr) {
        m_plantCurves->OnSample(inverter);
    }
    if (m_historyFollower != nullptr) {
        m_historyFollower->OnSampleDecoded(inverter);
    }
    if (PollSink* next = m_next.load()) {
        next->OnSampleDecoded(inverter);
    }
}
