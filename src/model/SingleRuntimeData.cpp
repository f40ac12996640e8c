#include "SingleRuntimeData.h"

std::int32_t SingleRuntimeData::GetFieldValue(int identifier) const {
    switch (identifier) {
    case 0x41: return m_nIac;
    case 0x42: return m_nVac;
    default: return CommonFieldValue(identifier);
    }
}
