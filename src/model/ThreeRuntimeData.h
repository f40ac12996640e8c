#pragma once

#include "CommonRuntimeData.h"

class ThreeRuntimeData : public CommonRuntimeData {
public:
    int GetPhaseType() const override { return 3; }
    std::int32_t GetFieldValue(int identifier) const override;
    std::unique_ptr<RuntimeData> Clone() const override {
        return std::make_unique<ThreeRuntimeData>(*this);
    }

    std::uint16_t m_nIacPhase[3] = {};
    std::uint16_t m_nVacPhase[3] = {};
    std::uint16_t m_nFacPhase[3] = {};
    std::uint16_t m_nPacPhase[3] = {};
    std::uint32_t m_dwETotalPhase[3] = {};
    std::uint16_t m_nFaultVpv[3] = {};
    std::uint16_t m_nFaultTemp = 0;
    std::uint16_t m_nFaultVac[3] = {};
    std::uint16_t m_nFaultFac[3] = {};
    std::uint16_t m_nFaultGfci = 0;
};
