#include "SampleFields.h"

#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"

// Divided, not multiplied by 0.1, so that 359.7 stays 359.7.
GridReadings GridReadingsOf(const RuntimeData& data) {
    GridReadings readings;
    readings.pvVolts[0] = data.GetVpv1();
    readings.pvVolts[1] = data.GetVpv2();
    if (const auto* single = dynamic_cast<const SingleRuntimeData*>(&data)) {
        readings.temperatureC = single->m_nTemp / 10.0;
        readings.acVolts = {single->m_nVac / 10.0};
        readings.frequencyHz = {single->m_nFac / 100.0};
        readings.mode = single->m_nMode;
    } else if (const auto* three = dynamic_cast<const ThreeRuntimeData*>(&data)) {
        readings.temperatureC = three->m_nTemp / 10.0;
        for (int phase = 0; phase < 3; ++phase) {
            readings.acVolts.push_back(three->m_nVacPhase[phase] / 10.0);
            readings.frequencyHz.push_back(three->m_nFacPhase[phase] / 100.0);
        }
        readings.mode = three->m_nMode;
    }
    return readings;
}
