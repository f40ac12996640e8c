#include "PlantSnapshot.h"

#include "comm/CommShared.h"
#include "model/InverterGroup.h"

namespace {
constexpr int FIRST_PARAM = 0x40;

std::vector<ParamView> ParamsOf(const CInverter& inverter) {
    std::vector<ParamView> params;
    for (const std::uint8_t identifier : inverter.m_paramFormat) {
        const int index = identifier - FIRST_PARAM;
        if (index >= 0 && index < static_cast<int>(inverter.m_params.size())) {
            params.push_back({identifier, inverter.m_params[static_cast<std::size_t>(index)]});
        }
    }
    return params;
}

InverterView ViewOf(const CInverter& inverter, int port, const SnapshotScope& scope,
                    std::time_t now) {
    InverterView view;
    view.port = port;
    view.address = inverter.m_nAddress;
    view.serial = inverter.m_strSerialNo;
    view.model = inverter.m_strModel;
    view.firmware = inverter.m_strFirmwareVer;
    view.manufacturer = inverter.m_strManufacturer;
    view.ratedPower = inverter.m_nRatedPower;
    view.phaseType = inverter.m_nPhaseType;
    view.online = inverter.m_bOnline == 1;
    view.errorState = inverter.m_nErrorState;
    view.errorCode = inverter.m_dwErrorCode;
    view.lastMode = inverter.m_nLastMode;
    view.freshness = FreshnessOf(inverter, now, g_nInterval);
    if (inverter.m_pRuntimeData) {
        view.sample = inverter.m_pRuntimeData->Clone();
    }
    if (scope.withMinutes) {
        view.minutes = MinutePoints(inverter.m_powerGraph, scope.minutesSince);
    }
    view.params = ParamsOf(inverter);
    view.fields = inverter.m_runtimeFormat;
    if (view.errorState == 2) {
        view.openFault = inverter.m_faultRecord;
    }
    return view;
}

PortView PortOf(const CInverterGroup& group) {
    PortView port;
    port.port = group.m_nComPort;
    port.open = group.m_bPortOpen == 1;
    port.problem = group.PortProblem();
    port.polls = group.m_nPolls;
    port.failedPolls = group.m_nFailedPolls;
    port.reopens = group.m_nReopens;
    port.rejects = group.m_rejects.NonZero();
    return port;
}
} // namespace

const InverterView* PlantSnapshot::Find(const std::string& serial) const {
    for (const InverterView& inverter : inverters) {
        if (inverter.serial == serial) {
            return &inverter;
        }
    }
    return nullptr;
}

PlantSnapshot TakeSnapshot(const GroupVisitor& groups, const SnapshotScope& scope) {
    PlantSnapshot snapshot;
    snapshot.taken = std::time(nullptr);
    groups([&](const CInverterGroup& group) {
        snapshot.ports.push_back(PortOf(group));
        auto lock = group.Lock();
        for (const auto& inverter : group.m_inverters) {
            if (scope.serial.empty() || inverter->m_strSerialNo == scope.serial) {
                snapshot.inverters.push_back(
                    ViewOf(*inverter, group.m_nComPort, scope, snapshot.taken));
            }
        }
    });
    return snapshot;
}
