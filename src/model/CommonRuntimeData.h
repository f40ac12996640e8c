#pragma once

#include "RuntimeData.h"

// What single- and three-phase samples share, in the same units, with the
// accessors the views and totals read. Divided rather than multiplied by 0.1,
// so that 3597 tenths read 359.7, not 359.70000000000005.
class CommonRuntimeData : public RuntimeData {
public:
    double GetOutputPower() const override { return m_nPac / 10.0; }
    double GetVpv1() const override { return m_nVpv1 / 10.0; }
    double GetVpv2() const override { return m_nVpv2 / 10.0; }
    // The inverter's total counter, the figure its history line carries.
    double GetETotal() const override { return m_dwETotal / 10.0; }
    double GetEToday() const override { return m_nEToday / 100.0; }
    std::time_t GetSampleTime() const override { return m_tSample; }
    // The field of an identifier both kinds keep alike; 0 for any other.
    std::int32_t CommonFieldValue(int identifier) const;

    std::time_t m_tSample = 0;
    std::int16_t m_nTemp = 0; // 0.1 degree Celsius
    std::uint16_t m_nVpv = 0;
    std::uint16_t m_nVpv1 = 0;
    std::uint16_t m_nVpv2 = 0;
    std::uint16_t m_nVpv3 = 0;
    std::uint16_t m_nIpv1 = 0;
    std::uint16_t m_nIpv2 = 0;
    std::uint16_t m_nIpv3 = 0;
    std::uint16_t m_nIac = 0; // never sent by three-phase inverters
    std::uint16_t m_nVac = 0; // never sent by three-phase inverters
    std::uint16_t m_nFac = 0; // 0.01 Hz
    std::uint16_t m_nPac = 0; // 0.1 W, of all phases
    std::uint16_t m_nZac = 0;
    std::uint32_t m_dwETotal = 0; // 0.1 kWh
    std::uint32_t m_dwHTotal = 0; // h
    std::int32_t m_nMode = 0;     // 0 wait, 1 normal, 2 fault, 3 permanent fault
    std::uint16_t m_nEToday = 0;  // 0.01 kWh
    std::uint32_t m_dwErrorBits = 0;
};
