#pragma once

#include "EnergyCounters.h"
#include "FaultSettings.h"
#include "FaultSnapshot.h"
#include "InverterProfile.h"
#include "InverterReading.h"
#include "ParameterTable.h"
#include "comm/BusMessage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// One simulated inverter: its registration state, parameters, counters and
// faults, and the replies it gives to the station's requests.
class SimInverter {
public:
    explicit SimInverter(InverterProfile profile);

    const InverterProfile& Profile() const { return m_profile; }
    std::uint8_t Address() const { return m_address; }
    bool IsRegistered() const { return m_address != BROADCAST_ADDRESS; }
    // Back to the start of registration, without memory of earlier collisions.
    void Unregister() {
        m_address = BROADCAST_ADDRESS;
        m_offlineBackoff = 0;
    }
    void SetSerialNo(const std::string& serialNo) { m_profile.serialNo = serialNo; }

    FaultSettings& Faults() { return m_faults; }
    const FaultSettings& Faults() const { return m_faults; }
    ParameterTable& Params() { return m_params; }
    const ParameterTable& Params() const { return m_params; }

    // Offline queries this unit sits out after a collision.
    int OfflineBackoff() const { return m_offlineBackoff; }
    void SetOfflineBackoff(int queries) { m_offlineBackoff = queries; }

    // The lifetime counters start again from 0 at this moment.
    void ResetTotals(std::int64_t now);

    // The measurements at a moment, faults included.
    InverterReading Reading(std::int64_t now);

    // The wire bytes this unit sends in answer to a request, if any.
    std::optional<std::vector<std::uint8_t>> Answer(const BusMessage& request, std::int64_t now);

private:
    std::optional<BusMessage> Respond(const BusMessage& request, std::int64_t now);
    std::optional<BusMessage> RespondRegister(const BusMessage& request);
    std::optional<BusMessage> RespondRead(const BusMessage& request, std::int64_t now);
    BusMessage RespondWrite(const BusMessage& request);
    BusMessage RespondExecute(const BusMessage& request, std::int64_t now);
    std::optional<BusMessage> TakeAddress(const BusMessage& request);
    bool IsAddressedBy(const BusMessage& request) const;

    BusMessage Reply(const BusMessage& request, const std::uint8_t* data, std::size_t length) const;
    BusMessage Acknowledge(const BusMessage& request, bool accepted) const;
    std::vector<std::uint8_t> SerialBytes() const;

    InverterProfile m_profile;
    std::uint8_t m_address = BROADCAST_ADDRESS;
    EnergyCounters m_counters;
    ParameterTable m_params;
    FaultSettings m_faults;
    FaultSnapshot m_lastFault; // reported between faults, as a real unit keeps it
    int m_offlineBackoff = 0;
};

} // namespace sim
