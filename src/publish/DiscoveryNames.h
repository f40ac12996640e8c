#pragma once

#include <string>

// The names Home Assistant keeps the station's devices and entities under.
// Unique ids carry the station id, so that stations sharing a broker never
// collide; entity ids are proposals a user may change, named after the plant
// and the serial numbers.
class DiscoveryNames {
public:
    explicit DiscoveryNames(std::string stationId);

    // "heliowatch_<station>"
    std::string PlantDevice() const { return "heliowatch_" + m_stationId; }
    // "heliowatch_<station>_<topic id>": a station id holds no '_', so no
    // inverter takes another station's plant id.
    std::string InverterDevice(const std::string& topicId) const {
        return PlantDevice() + "_" + topicId;
    }
    static std::string UniqueId(const std::string& device, const char* component) {
        return device + "_" + component;
    }
    // "<platform>.heliowatch_<subject>_<component>", lowercase, with the
    // characters an entity id may not hold turned into single '_'.
    static std::string EntityId(const char* platform, const std::string& subject,
                                const char* component);

private:
    std::string m_stationId;
};
