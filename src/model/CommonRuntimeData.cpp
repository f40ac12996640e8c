#include "CommonRuntimeData.h"

std::int32_t CommonRuntimeData::CommonFieldValue(int identifier) const {
    switch (identifier) {
    case 0x00: return m_nTemp;
    case 0x01: return m_nVpv1;
    case 0x02: return m_nVpv2;
    case 0x03: return m_nVpv3;
    case 0x04: return m_nIpv1;
    case 0x05: return m_nIpv2;
    case 0x06: return m_nIpv3;
    case 0x0B: return m_nPac;
    case 0x0D: return m_nEToday;
    case 0x40: return m_nVpv;
    case 0x43: return m_nFac;
    case 0x45: return m_nZac;
    case 0x48: return static_cast<std::int32_t>(m_dwETotal);
    case 0x4A: return static_cast<std::int32_t>(m_dwHTotal);
    default: return 0;
    }
}
