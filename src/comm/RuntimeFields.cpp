#include "RuntimeFields.h"

#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "platform/Trace.h"

namespace {

// A 32-bit counter arrives as two 16-bit values; each ORs in its half, so
// either half alone still reads as a number.
void SetUpper(std::uint32_t& field, std::uint16_t value) {
    field |= static_cast<std::uint32_t>(value) << 16;
}

void SetLower(std::uint32_t& field, std::uint16_t value) {
    field |= value;
}

std::int32_t WorkMode(std::uint16_t value) {
    return value >= 1 && value <= 3 ? value : 0;
}

// Phase 2 identifiers are those of phase 1 plus 0x40, phase 3 plus 0x80.
int PhaseOf(std::uint8_t identifier) {
    return (identifier >> 6) - 1;
}

void StoreSingleErrorBits(SingleRuntimeData& record, std::uint8_t identifier, std::uint16_t value) {
    if (identifier == 0x7E) {
        SetUpper(record.m_dwErrorBits, value);
    } else {
        SetLower(record.m_dwErrorBits, value);
    }
    Trace("\n pInvData->emsg = %04X;  nValue = %04X\n", record.m_dwErrorBits, value);
}

} // namespace

void StoreSingleField(SingleRuntimeData& record, std::uint8_t identifier, std::uint16_t value) {
    switch (identifier) {
    case 0x00: record.m_nTemp = static_cast<std::int16_t>(value); break;
    case 0x01:
        record.m_nVpv = value;
        record.m_nVpv1 = value;
        break;
    case 0x02: record.m_nVpv2 = value; break;
    case 0x03: record.m_nVpv3 = value; break;
    case 0x04: record.m_nIpv1 = value; break;
    case 0x05: record.m_nIpv2 = value; break;
    case 0x06: record.m_nIpv3 = value; break;
    case 0x0D: record.m_nEToday = value; break;
    case 0x39:
    case 0x7B: record.m_nFaultTemp = value; break;
    case 0x3A:
    case 0x7C: record.m_nFaultVpv = value; break;
    case 0x3D:
    case 0x7D: record.m_nFaultGfci = value; break;
    case 0x40: record.m_nVpv = value; break;
    case 0x41: record.m_nIac = value; break;
    case 0x42: record.m_nVac = value; break;
    case 0x43: record.m_nFac = value; break;
    case 0x44: record.m_nPac = value; break;
    case 0x45: record.m_nZac = value; break;
    case 0x47: SetUpper(record.m_dwETotal, value); break;
    case 0x48: SetLower(record.m_dwETotal, value); break;
    case 0x49: SetUpper(record.m_dwHTotal, value); break;
    case 0x4A: SetLower(record.m_dwHTotal, value); break;
    case 0x4C: record.m_nMode = WorkMode(value); break;
    case 0x78: record.m_nFaultVac = value; break;
    case 0x79: record.m_nFaultFac = value; break;
    case 0x7A: record.m_nFaultZac = value; break;
    case 0x7E:
    case 0x7F: StoreSingleErrorBits(record, identifier, value); break;
    default: break;
    }
}

void StoreThreeField(ThreeRuntimeData& record, std::uint8_t identifier, std::uint16_t value) {
    switch (identifier) {
    case 0x00: record.m_nTemp = static_cast<std::int16_t>(value); break;
    case 0x01:
        record.m_nVpv = value;
        record.m_nVpv1 = value;
        break;
    case 0x02:
    case 0x80: record.m_nVpv2 = value; break;
    case 0x03:
    case 0xC0: record.m_nVpv3 = value; break;
    case 0x04:
    case 0x46: record.m_nIpv1 = value; break;
    case 0x05:
    case 0x86: record.m_nIpv2 = value; break;
    case 0x06:
    case 0xC6: record.m_nIpv3 = value; break;
    case 0x07: SetUpper(record.m_dwETotal, value); break;
    case 0x08: SetLower(record.m_dwETotal, value); break;
    case 0x09: SetUpper(record.m_dwHTotal, value); break;
    case 0x0A: SetLower(record.m_dwHTotal, value); break;
    case 0x0B: record.m_nPac = value; break;
    case 0x0D: record.m_nEToday = value; break;
    case 0x39: record.m_nFaultTemp = value; break;
    case 0x3A:
    case 0x3B:
    case 0x3C: record.m_nFaultVpv[identifier - 0x3A] = value; break;
    case 0x3D: record.m_nFaultGfci = value; break;
    case 0x3E: SetLower(record.m_dwErrorBits, value); break;
    case 0x3F: SetUpper(record.m_dwErrorBits, value); break;
    case 0x40: record.m_nVpv = value; break;
    case 0x43:
        record.m_nFac = value;
        record.m_nFacPhase[0] = value;
        break;
    case 0x45: record.m_nZac = value; break;
    case 0x4C: record.m_nMode = WorkMode(value); break;
    case 0x41:
    case 0x81:
    case 0xC1: record.m_nIacPhase[PhaseOf(identifier)] = value; break;
    case 0x42:
    case 0x82:
    case 0xC2: record.m_nVacPhase[PhaseOf(identifier)] = value; break;
    case 0x83:
    case 0xC3: record.m_nFacPhase[PhaseOf(identifier)] = value; break;
    case 0x44:
    case 0x84:
    case 0xC4: record.m_nPacPhase[PhaseOf(identifier)] = value; break;
    case 0x47:
    case 0x87:
    case 0xC7: SetUpper(record.m_dwETotalPhase[PhaseOf(identifier)], value); break;
    case 0x48:
    case 0x88:
    case 0xC8: SetLower(record.m_dwETotalPhase[PhaseOf(identifier)], value); break;
    case 0x78:
    case 0xB8:
    case 0xF8: record.m_nFaultVac[PhaseOf(identifier)] = value; break;
    case 0x79:
    case 0xB9:
    case 0xF9: record.m_nFaultFac[PhaseOf(identifier)] = value; break;
    default: break;
    }
}
