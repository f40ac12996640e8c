#include "FaultOverlay.h"

#include <bit>

namespace sim {

namespace {
constexpr std::uint16_t FAULT_ZAC_MOHM = 3500;
constexpr std::uint16_t FAULT_GFCI_MA = 450;
constexpr std::uint16_t FAULT_TEMP_TENTHS = 880;
constexpr std::uint16_t FAULT_VAC_TENTHS = 2780;
constexpr std::uint16_t FAULT_FAC_HUNDREDTHS = 5220;
constexpr std::uint16_t LEAK_GFCI_MA = 12;

FaultSnapshot LiveSnapshot(const InverterReading& reading) {
    FaultSnapshot snapshot;
    snapshot.vpv = reading.vpv;
    snapshot.temp = static_cast<std::uint16_t>(reading.temp);
    snapshot.vac = reading.vac;
    snapshot.fac = reading.fac;
    snapshot.gfci = LEAK_GFCI_MA;
    snapshot.zac = reading.zac;
    return snapshot;
}

void ApplyTypicalCause(FaultSnapshot& snapshot, const InverterProfile& profile,
                       std::uint32_t errorBits) {
    if (errorBits == 0) {
        return;
    }
    const auto phases = profile.kind == InverterKind::Three ? 3U : 1U;
    switch (std::countr_zero(errorBits)) {
    case 8:
    case 26:
    case 27: snapshot.zac = FAULT_ZAC_MOHM; break;
    case 10: snapshot.gfci = FAULT_GFCI_MA; break;
    case 13: snapshot.temp = FAULT_TEMP_TENTHS; break;
    case 15:
        for (unsigned i = 0; i < phases; ++i) {
            snapshot.vpv[i] = static_cast<std::uint16_t>(profile.nominalVpvTenths * 8 / 5);
        }
        break;
    case 16:
    case 17:
        for (unsigned i = 0; i < phases; ++i) {
            snapshot.vac[i] = FAULT_VAC_TENTHS;
        }
        break;
    case 28:
    case 29:
        for (unsigned i = 0; i < phases; ++i) {
            snapshot.fac[i] = FAULT_FAC_HUNDREDTHS;
        }
        break;
    default: break;
    }
}
} // namespace

void ApplyFault(InverterReading& reading, const InverterProfile& profile,
                const FaultCondition& condition) {
    reading.mode = condition.mode;
    reading.errorBits = condition.errorBits;
    reading.pac = {};
    reading.iac = {};
    reading.ipv = {};
    reading.fault = LiveSnapshot(reading);
    ApplyTypicalCause(reading.fault, profile, condition.errorBits);
    for (const auto& [id, value] : condition.values) {
        if (std::uint16_t* slot = reading.fault.Slot(profile.kind, id)) {
            *slot = value;
        }
    }
}

} // namespace sim
