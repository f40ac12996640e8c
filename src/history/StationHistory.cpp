#include "StationHistory.h"

#include "model/Inverter.h"
#include "platform/DataDirectory.h"
#include "store/HistoryFileName.h"

void StationHistory::Start() {
    m_today.Load(HistLogDirectory(), std::time(nullptr));
    m_keeper.Start();
}

void StationHistory::OnSampleDecoded(CInverter& inverter) {
    std::string fileName;
    bool curveEmpty = false;
    {
        auto lock = inverter.Lock();
        fileName = HistoryFileName(inverter.m_strSerialNo);
        curveEmpty = inverter.m_powerGraph.m_samples.empty();
    }
    if (curveEmpty) {
        RefillDayCurve(inverter, fileName);
    }
    m_keeper.Notify(fileName);
}

void StationHistory::RefillDayCurve(CInverter& inverter, const std::string& historyFileName) {
    auto lock = inverter.Lock();
    if (!inverter.m_pRuntimeData || !inverter.m_powerGraph.m_samples.empty()) {
        return;
    }
    for (const CGraphSample& sample :
         m_today.InverterCurve(historyFileName, inverter.m_pRuntimeData->GetSampleTime())) {
        inverter.m_powerGraph.AddSample(sample);
    }
}
