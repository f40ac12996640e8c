#include "SampleFields.h"

#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"

namespace {
constexpr double TENTH = 0.1;
constexpr double HUNDREDTH = 0.01;

// The fields both kinds of record share, under the same scales.
template <class Data>
void AddCommon(const Data& data, std::vector<SampleField>& fields) {
    fields.push_back({"temperature", "C", data.m_nTemp * TENTH});
    fields.push_back({"vpv", "V", data.m_nVpv * TENTH});
    fields.push_back({"vpv1", "V", data.m_nVpv1 * TENTH});
    fields.push_back({"vpv2", "V", data.m_nVpv2 * TENTH});
    fields.push_back({"vpv3", "V", data.m_nVpv3 * TENTH});
    fields.push_back({"ipv1", "A", data.m_nIpv1 * TENTH});
    fields.push_back({"ipv2", "A", data.m_nIpv2 * TENTH});
    fields.push_back({"ipv3", "A", data.m_nIpv3 * TENTH});
    fields.push_back({"pac", "W", data.m_nPac * TENTH});
    fields.push_back({"zac", "", static_cast<double>(data.m_nZac)});
    fields.push_back({"etoday", "kWh", data.m_nEToday * HUNDREDTH});
    fields.push_back({"etotal", "kWh", data.m_dwETotal * TENTH});
    fields.push_back({"htotal", "h", static_cast<double>(data.m_dwHTotal)});
    fields.push_back({"mode", "", static_cast<double>(data.m_nMode)});
    fields.push_back({"error_bits", "", static_cast<double>(data.m_dwErrorBits)});
}

void AddPhases(const ThreeRuntimeData& data, std::vector<SampleField>& fields) {
    for (int phase = 0; phase < 3; ++phase) {
        const std::string n = std::to_string(phase + 1);
        fields.push_back({"iac" + n, "A", data.m_nIacPhase[phase] * TENTH});
        fields.push_back({"vac" + n, "V", data.m_nVacPhase[phase] * TENTH});
        fields.push_back({"fac" + n, "Hz", data.m_nFacPhase[phase] * HUNDREDTH});
        fields.push_back({"pac" + n, "W", data.m_nPacPhase[phase] * TENTH});
    }
}
} // namespace

std::vector<SampleField> SampleFieldsOf(const RuntimeData& data) {
    std::vector<SampleField> fields;
    if (const auto* single = dynamic_cast<const SingleRuntimeData*>(&data)) {
        AddCommon(*single, fields);
        fields.push_back({"iac", "A", single->m_nIac * TENTH});
        fields.push_back({"vac", "V", single->m_nVac * TENTH});
        fields.push_back({"fac", "Hz", single->m_nFac * HUNDREDTH});
    } else if (const auto* three = dynamic_cast<const ThreeRuntimeData*>(&data)) {
        AddCommon(*three, fields);
        AddPhases(*three, fields);
    }
    return fields;
}

GridReadings GridReadingsOf(const RuntimeData& data) {
    GridReadings readings;
    readings.pvVolts[0] = data.GetVpv1();
    readings.pvVolts[1] = data.GetVpv2();
    if (const auto* single = dynamic_cast<const SingleRuntimeData*>(&data)) {
        readings.temperatureC = single->m_nTemp * TENTH;
        readings.acVolts = {single->m_nVac * TENTH};
        readings.frequencyHz = {single->m_nFac * HUNDREDTH};
        readings.mode = single->m_nMode;
    } else if (const auto* three = dynamic_cast<const ThreeRuntimeData*>(&data)) {
        readings.temperatureC = three->m_nTemp * TENTH;
        for (int phase = 0; phase < 3; ++phase) {
            readings.acVolts.push_back(three->m_nVacPhase[phase] * TENTH);
            readings.frequencyHz.push_back(three->m_nFacPhase[phase] * HUNDREDTH);
        }
        readings.mode = three->m_nMode;
    }
    return readings;
}
