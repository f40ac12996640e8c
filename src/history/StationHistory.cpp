#include "StationHistory.h"

#include "model/Inverter.h"
#include "store/HistoryFileName.h"
#include "store/PlantDayCurves.h"

void StationHistory::Start(PlantDayCurves& plantCurves) {
    m_plantCurves = &plantCurves;
    m_keeper.Start();
    m_refill.Start(plantCurves);
}

void StationHistory::Stop() {
    m_refill.Stop();
    m_keeper.Stop();
}

// An inverter's first sample asks for its day before; a later one takes it
// in once it is ready, ahead of the samples since.
void StationHistory::OnSampleDecoded(CInverter& inverter) {
    std::string fileName;
    {
        auto lock = inverter.Lock();
        fileName = HistoryFileName(inverter.m_strSerialNo);
    }
    if (!inverter.m_bPastAsked) {
        inverter.m_bPastAsked = true;
        m_refill.Ask(fileName, inverter.m_pRuntimeData->GetSampleTime());
    } else if (std::optional<CDaySeries> past = m_refill.Take(fileName)) {
        auto lock = inverter.Lock();
        inverter.m_powerGraph.Prepend(std::move(*past));
        m_plantCurves->PastHanded();
    }
    m_keeper.Notify(fileName);
}
