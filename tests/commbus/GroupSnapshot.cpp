#include "GroupSnapshot.h"

#include "model/InverterGroup.h"

namespace {
InverterSnapshot Snapshot(const CInverter& inverter) {
    InverterSnapshot copy;
    copy.record = &inverter;
    copy.address = inverter.m_nAddress;
    copy.serialNo = inverter.m_strSerialNo;
    copy.model = inverter.m_strModel;
    copy.firmwareVer = inverter.m_strFirmwareVer;
    copy.manufacturer = inverter.m_strManufacturer;
    copy.ratedPower = inverter.m_nRatedPower;
    copy.phaseType = inverter.m_nPhaseType;
    copy.nominalVpv = inverter.m_dNominalVpv;
    copy.online = inverter.m_bOnline != 0;
    copy.runtimeFormat = inverter.m_runtimeFormat;
    copy.paramFormat = inverter.m_paramFormat;
    copy.params = inverter.m_params;
    if (const auto* sample =
            dynamic_cast<const SingleRuntimeData*>(inverter.m_pRuntimeData.get())) {
        copy.sample = *sample;
    }
    const CDaySeries& series = inverter.m_powerGraph;
    copy.seriesSamples = series.SampleCount();
    copy.lastSeriesValue = series.Empty() ? 0.0 : series.Latest()->m_dValue;
    return copy;
}
} // namespace

std::vector<InverterSnapshot> SnapshotGroup(const CInverterGroup& group) {
    auto lock = group.Lock();
    std::vector<InverterSnapshot> snapshots;
    for (const auto& inverter : group.m_inverters) {
        snapshots.push_back(Snapshot(*inverter));
    }
    return snapshots;
}
