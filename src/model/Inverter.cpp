#include "Inverter.h"

#include "InverterGroup.h"

CInverter::CInverter() {
    m_faultRecord.errorBits = 0xFFFFFFFFU;
}

CInverter::~CInverter() = default;

std::unique_lock<std::recursive_mutex> CInverter::Lock() const {
    if (m_pGroup == nullptr) {
        return {};
    }
    return m_pGroup->Lock();
}
