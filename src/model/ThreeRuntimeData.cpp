#include "ThreeRuntimeData.h"

std::int32_t ThreeRuntimeData::GetFieldValue(int identifier) const {
    switch (identifier) {
    case 0x41: return m_nIacPhase[0];
    case 0x42: return m_nVacPhase[0];
    case 0x81: return m_nIacPhase[1];
    case 0xC1: return m_nIacPhase[2];
    case 0x82: return m_nVacPhase[1];
    case 0xC2: return m_nVacPhase[2];
    default: return CommonFieldValue(identifier);
    }
}
