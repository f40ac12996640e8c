#pragma once

#include <string>

// A serial number made fit for one topic level and for a Home Assistant
// object id: letters, digits and '-' stay; every other byte, '_' included,
// becomes '_' and two uppercase hex digits ("AB/1" -> "AB_2F1"). Distinct
// serial numbers stay distinct and the original can always be read back.
// An empty serial number is "_".
std::string TopicId(const std::string& serialNo);

// Every topic the station publishes to or listens on. An inverter's topics
// have three levels and the station's own two or four, so no serial number
// can take one of them.
class Topics {
public:
    Topics(std::string prefix, std::string discoveryPrefix);

    std::string Status() const { return m_prefix + "/status"; }
    std::string Events() const { return m_prefix + "/events"; }
    std::string Plant() const { return m_prefix + "/plant"; }
    std::string Alert() const { return m_prefix + "/alert"; }
    std::string State(const std::string& id) const { return Inverter(id, "state"); }
    std::string Availability(const std::string& id) const { return Inverter(id, "availability"); }
    // Each fault opened or closed, as it happens.
    std::string Fault(const std::string& id) const { return Inverter(id, "fault"); }
    // The last fault, retained.
    std::string LastFault(const std::string& id) const { return Inverter(id, "last_fault"); }
    // Every inverter's availability.
    std::string AllAvailability() const { return m_prefix + "/+/availability"; }
    // Where Home Assistant presses one of the station's buttons.
    std::string Command(const std::string& name) const {
        return m_prefix + "/station/command/" + name;
    }
    std::string AllCommands() const { return Command("+"); }
    // Where Home Assistant finds one device with all its entities.
    std::string DeviceConfig(const std::string& deviceId) const {
        return m_discoveryPrefix + "/device/" + deviceId + "/config";
    }
    // Every configuration of a single sensor, as earlier versions of the
    // station announced each of theirs.
    std::string AllSensorConfigs() const { return m_discoveryPrefix + "/sensor/+/+/config"; }
    // Where Home Assistant announces that it (re)started.
    std::string HomeAssistantStatus() const { return m_discoveryPrefix + "/status"; }
    const std::string& Prefix() const { return m_prefix; }
    const std::string& DiscoveryPrefix() const { return m_discoveryPrefix; }

private:
    std::string Inverter(const std::string& id, const char* leaf) const {
        return m_prefix + "/" + id + "/" + leaf;
    }

    std::string m_prefix;
    std::string m_discoveryPrefix;
};
