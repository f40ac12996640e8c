#pragma once

#include <cstdint>
#include <ctime>
#include <memory>

// The latest decoded sample of an inverter.
class RuntimeData {
public:
    virtual ~RuntimeData() = default;
    virtual int GetPhaseType() const = 0;
    virtual double GetOutputPower() const = 0; // W
    virtual double GetVpv1() const = 0;        // V
    virtual double GetVpv2() const = 0;        // V
    virtual double GetETotal() const = 0;      // kWh
    virtual double GetEToday() const = 0;      // kWh

    // The stored integer that history files read under a field identifier;
    // 0 for identifiers the record does not offer.
    virtual std::int32_t GetFieldValue(int identifier) const = 0;
    virtual std::time_t GetSampleTime() const = 0;
    virtual std::unique_ptr<RuntimeData> Clone() const = 0;
};
