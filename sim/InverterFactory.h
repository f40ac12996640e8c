#pragma once

#include "InverterKind.h"
#include "SimInverter.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sim {

// Makes the inverters of the plant with the choices that hold for all of them.
class InverterFactory {
public:
    struct Settings {
        std::string serialPrefix = "SIM";
        int ambientTenths = 200;
        std::map<InverterKind, std::vector<std::uint8_t>> runtimeFields;
        std::map<InverterKind, std::vector<std::uint8_t>> paramFields;
    };

    InverterFactory() = default;
    explicit InverterFactory(Settings settings) : m_settings(std::move(settings)) {}

    // An empty serial number takes the generated one; rated power 0 the
    // kind's default.
    SimInverter Make(InverterKind kind, int port, int position, int ratedPowerW,
                     const std::string& serialNo = {}) const;
    // The prefix, then port and position in 16 characters: "SIM0000000003001".
    std::string SerialFor(int port, int position) const;

private:
    Settings m_settings;
};

} // namespace sim
