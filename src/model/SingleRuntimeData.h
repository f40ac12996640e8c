#pragma once

#include "CommonRuntimeData.h"

class SingleRuntimeData : public CommonRuntimeData {
public:
    int GetPhaseType() const override { return 1; }
    std::int32_t GetFieldValue(int identifier) const override;
    std::unique_ptr<RuntimeData> Clone() const override {
        return std::make_unique<SingleRuntimeData>(*this);
    }

    std::uint16_t m_nFaultVpv = 0;
    std::uint16_t m_nFaultTemp = 0;
    std::uint16_t m_nFaultVac = 0;
    std::uint16_t m_nFaultFac = 0;
    std::uint16_t m_nFaultGfci = 0;
    std::uint16_t m_nFaultZac = 0;
};
