#include "InverterProfile.h"

namespace sim {

namespace {
constexpr int DEFAULT_SINGLE_RATED_W = 3000;
constexpr int DEFAULT_THREE_RATED_W = 6000;

std::uint32_t SerialHash(const std::string& serialNo) {
    std::uint32_t hash = 2166136261U;
    for (const char c : serialNo) {
        hash = (hash ^ static_cast<std::uint8_t>(c)) * 16777619U;
    }
    return hash;
}
} // namespace

std::vector<std::uint8_t> DefaultRuntimeFields(InverterKind kind) {
    if (kind == InverterKind::Three) {
        return {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x0B, 0x43, 0x45, 0x07, 0x08,
                0x09, 0x0A, 0x4C, 0x0D, 0x3F, 0x3E, 0x41, 0x81, 0xC1, 0x42, 0x82, 0xC2,
                0x83, 0xC3, 0x44, 0x84, 0xC4, 0x47, 0x48, 0x87, 0x88, 0xC7, 0xC8, 0x3A,
                0x3B, 0x3C, 0x39, 0x78, 0xB8, 0xF8, 0x79, 0xB9, 0xF9, 0x3D};
    }
    return {0x00, 0x40, 0x01, 0x02, 0x41, 0x42, 0x43, 0x44, 0x45, 0x47, 0x48, 0x49,
            0x4A, 0x4C, 0x0D, 0x7E, 0x7F, 0x3A, 0x39, 0x78, 0x79, 0x3D, 0x7A};
}

std::vector<std::uint8_t> DefaultParamFields() {
    return {0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B};
}

InverterProfile MakeProfile(InverterKind kind, const std::string& serialNo, int ratedPowerW) {
    const bool three = kind == InverterKind::Three;
    InverterProfile profile;
    profile.kind = kind;
    profile.serialNo = serialNo;
    profile.ratedPowerW =
        ratedPowerW > 0 ? ratedPowerW : (three ? DEFAULT_THREE_RATED_W : DEFAULT_SINGLE_RATED_W);
    profile.nominalVpvTenths = three ? 6000 : 3600;
    profile.firmware = three ? "T2.07" : "S1.14";
    profile.model = (three ? "Skylark T" : "Skylark S") + std::to_string(profile.ratedPowerW);
    profile.manufacturer = "Quillmoor Energy";
    profile.runtimeFields = DefaultRuntimeFields(kind);
    profile.paramFields = DefaultParamFields();
    const std::uint32_t hash = SerialHash(serialNo);
    profile.variation = 0.92 + static_cast<double>(hash % 81) / 1000.0;
    profile.eTotalBase = (hash >> 8) % 40000;
    profile.hTotalBase = (hash >> 20) % 3000;
    return profile;
}

} // namespace sim
