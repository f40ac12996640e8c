#include "RuntimeEncoding.h"

#include <optional>

namespace sim {

namespace {
std::uint16_t High(std::uint32_t value) {
    return static_cast<std::uint16_t>(value >> 16);
}

std::uint16_t Low(std::uint32_t value) {
    return static_cast<std::uint16_t>(value & 0xFFFF);
}

// Identifiers that mean the same for both kinds.
std::optional<std::uint16_t> CommonValue(const InverterReading& r, std::uint8_t id) {
    switch (id) {
    case 0x00: return static_cast<std::uint16_t>(r.temp);
    case 0x01:
    case 0x40: return r.vpv[0];
    case 0x02: return r.vpv[1];
    case 0x03: return r.vpv[2];
    case 0x04: return r.ipv[0];
    case 0x05: return r.ipv[1];
    case 0x06: return r.ipv[2];
    case 0x0D: return r.eToday;
    case 0x41: return r.iac[0];
    case 0x42: return r.vac[0];
    case 0x43: return r.fac[0];
    case 0x44: return r.pac[0];
    case 0x45: return r.zac;
    case 0x4C: return static_cast<std::uint16_t>(r.mode);
    default: return std::nullopt;
    }
}

std::uint16_t SingleValue(const InverterReading& r, std::uint8_t id) {
    switch (id) {
    case 0x0B: return r.pac[0];
    case 0x47: return High(r.eTotal);
    case 0x48: return Low(r.eTotal);
    case 0x49: return High(r.hTotal);
    case 0x4A: return Low(r.hTotal);
    case 0x7E: return High(r.errorBits);
    case 0x7F: return Low(r.errorBits);
    default: break;
    }
    const std::uint16_t* fault = r.fault.Slot(InverterKind::Single, id);
    return fault != nullptr ? *fault : 0;
}

// Phase 2 and 3 of a per-phase quantity sit 0x40 and 0x80 above phase 1.
std::optional<std::uint16_t> PhaseValue(const InverterReading& r, std::uint8_t id) {
    const std::size_t group = id >> 6;
    if (group < 2) {
        return std::nullopt;
    }
    const std::size_t phase = group - 1;
    switch (id & 0x3F) {
    case 0x00: return r.vpv[phase];
    case 0x01: return r.iac[phase];
    case 0x02: return r.vac[phase];
    case 0x03: return r.fac[phase];
    case 0x04: return r.pac[phase];
    case 0x06: return r.ipv[phase];
    case 0x07: return High(r.eTotalPhase[phase]);
    case 0x08: return Low(r.eTotalPhase[phase]);
    default: return std::nullopt;
    }
}

std::uint16_t ThreeValue(const InverterReading& r, std::uint8_t id) {
    switch (id) {
    case 0x07: return High(r.eTotal);
    case 0x08: return Low(r.eTotal);
    case 0x09: return High(r.hTotal);
    case 0x0A: return Low(r.hTotal);
    case 0x0B: return static_cast<std::uint16_t>(r.PacTotal());
    case 0x3F: return High(r.errorBits);
    case 0x3E: return Low(r.errorBits);
    case 0x46: return r.ipv[0];
    case 0x47: return High(r.eTotalPhase[0]);
    case 0x48: return Low(r.eTotalPhase[0]);
    default: break;
    }
    if (const std::uint16_t* fault = r.fault.Slot(InverterKind::Three, id)) {
        return *fault;
    }
    return PhaseValue(r, id).value_or(0);
}
} // namespace

std::uint16_t RuntimeFieldValue(InverterKind kind, const InverterReading& reading,
                                std::uint8_t id) {
    if (const auto common = CommonValue(reading, id)) {
        return *common;
    }
    return kind == InverterKind::Three ? ThreeValue(reading, id) : SingleValue(reading, id);
}

std::vector<std::uint8_t> EncodeRuntimeData(InverterKind kind, const InverterReading& reading,
                                            const std::vector<std::uint8_t>& fields) {
    std::vector<std::uint8_t> data;
    data.reserve(fields.size() * 2);
    for (const std::uint8_t id : fields) {
        const std::uint16_t value = RuntimeFieldValue(kind, reading, id);
        data.push_back(static_cast<std::uint8_t>(value >> 8));
        data.push_back(static_cast<std::uint8_t>(value & 0xFF));
    }
    return data;
}

} // namespace sim
