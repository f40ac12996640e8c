#include "StationPollSink.h"

#include "FaultTracking.h"
#include "HistoryWriter.h"
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
    default: break;
    }
    if (PollSink* next = m_next.load()) {
        next->OnSampleDecoded(inverter);
    }
}
