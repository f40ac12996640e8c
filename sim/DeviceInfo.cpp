#include "DeviceInfo.h"

#include <algorithm>
#include <string>

namespace sim {

namespace {
constexpr std::size_t PHASE_OFFSET = 0;
constexpr std::size_t RATED_OFFSET = 1;
constexpr std::size_t RATED_WIDTH = 6;
constexpr std::size_t FIRMWARE_OFFSET = 7;
constexpr std::size_t FIRMWARE_WIDTH = 5;
constexpr std::size_t MODEL_OFFSET = 12;
constexpr std::size_t MANUFACTURER_OFFSET = 28;
constexpr std::size_t SERIAL_OFFSET = 44;
constexpr std::size_t TEXT_WIDTH = 16;
constexpr std::size_t NOMINAL_VPV_OFFSET = 60;
constexpr std::size_t NOMINAL_VPV_WIDTH = 4;

void PutLeft(std::array<std::uint8_t, 64>& info, std::size_t offset, std::size_t width,
             const std::string& text) {
    std::copy_n(text.begin(), std::min(width, text.size()), info.begin() + offset);
}

void PutRight(std::array<std::uint8_t, 64>& info, std::size_t offset, std::size_t width,
              const std::string& text) {
    const std::string shown = text.size() > width ? text.substr(text.size() - width) : text;
    std::copy(shown.begin(), shown.end(), info.begin() + offset + width - shown.size());
}
} // namespace

std::array<std::uint8_t, 64> EncodeDeviceInfo(const InverterProfile& profile) {
    std::array<std::uint8_t, 64> info{};
    info.fill(' ');
    info[PHASE_OFFSET] = profile.kind == InverterKind::Three ? '3' : '1';
    PutRight(info, RATED_OFFSET, RATED_WIDTH, std::to_string(profile.ratedPowerW));
    PutLeft(info, FIRMWARE_OFFSET, FIRMWARE_WIDTH, profile.firmware);
    PutLeft(info, MODEL_OFFSET, TEXT_WIDTH, profile.model);
    PutLeft(info, MANUFACTURER_OFFSET, TEXT_WIDTH, profile.manufacturer);
    PutLeft(info, SERIAL_OFFSET, TEXT_WIDTH, profile.serialNo);
    PutRight(info, NOMINAL_VPV_OFFSET, NOMINAL_VPV_WIDTH, std::to_string(profile.nominalVpvTenths));
    return info;
}

} // namespace sim
