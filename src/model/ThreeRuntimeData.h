#pragma once

#include "RuntimeData.h"

class ThreeRuntimeData : public RuntimeData {
public:
    int GetPhaseType() const override { return 3; }
    // m_nPac carries the output power of a three-phase inverter as well.
    double GetOutputPower() const override { return m_nPac * 0.1; }
    double GetVpv1() const override { return m_nVpv1 * 0.1; }
    double GetVpv2() const override { return m_nVpv2 * 0.1; }
    // The inverter's total counter, the figure its history line carries.
    double GetETotal() const override { return m_dwETotal * 0.1; }
    double GetEToday() const override { return m_nEToday * 0.01; }
    std::int32_t GetFieldValue(int identifier) const override;
    std::time_t GetSampleTime() const override { return m_tSample; }
    std::unique_ptr<RuntimeData> Clone() const override {
        return std::make_unique<ThreeRuntimeData>(*this);
    }

    std::time_t m_tSample = 0;
    std::int16_t m_nTemp = 0;
    std::uint16_t m_nVpv = 0;
    std::uint16_t m_nVpv1 = 0;
    std::uint16_t m_nVpv2 = 0;
    std::uint16_t m_nVpv3 = 0;
    std::uint16_t m_nIpv1 = 0;
    std::uint16_t m_nIpv2 = 0;
    std::uint16_t m_nIpv3 = 0;
    std::uint16_t m_nIac = 0; // never sent by three-phase inverters
    std::uint16_t m_nVac = 0; // never sent by three-phase inverters
    std::uint16_t m_nFac = 0;
    std::uint16_t m_nPac = 0;
    std::uint16_t m_nZac = 0;
    std::uint32_t m_dwETotal = 0;
    std::uint32_t m_dwHTotal = 0;
    std::int32_t m_nMode = 0;
    std::uint16_t m_nEToday = 0;
    std::uint32_t m_dwErrorBits = 0;
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
