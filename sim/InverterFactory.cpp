#include "InverterFactory.h"

#include "comm/Protocol.h"

#include <cstdio>

namespace sim {

SimInverter InverterFactory::Make(InverterKind kind, int port, int position, int ratedPowerW,
                                  const std::string& serialNo) const {
    InverterProfile profile =
        MakeProfile(kind, serialNo.empty() ? SerialFor(port, position) : serialNo, ratedPowerW);
    profile.ambientTenths = m_settings.ambientTenths;
    if (const auto fields = m_settings.runtimeFields.find(kind);
        fields != m_settings.runtimeFields.end()) {
        profile.runtimeFields = fields->second;
    }
    if (const auto fields = m_settings.paramFields.find(kind);
        fields != m_settings.paramFields.end()) {
        profile.paramFields = fields->second;
    }
    return SimInverter(std::move(profile));
}

std::string InverterFactory::SerialFor(int port, int position) const {
    const std::string prefix = m_settings.serialPrefix.substr(0, SERIAL_NO_LENGTH - 4);
    char digits[SERIAL_NO_LENGTH + 1];
    std::snprintf(digits, sizeof digits, "%0*d", static_cast<int>(SERIAL_NO_LENGTH - prefix.size()),
                  port * 1000 + position);
    return prefix + digits;
}

} // namespace sim
