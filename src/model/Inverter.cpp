#include "Inverter.h"

CInverter::CInverter() {
    m_faultRecord.errorBits = 0xFFFFFFFFU;
}

CInverter::~CInverter() = default;
