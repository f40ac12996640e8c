#pragma once

#include <string>

// A serial number made fit for one topic level and for a Home Assistant
// object id: letters, digits and '-' stay; every other byte, '_' included,
// becomes '_' and two uppercase hex digits ("AB/1" -> "AB_2F1"). Distinct
// serial numbers stay distinct and the original can always be read back.
// An empty serial number is "_".
std::string TopicId(const std::string& serialNo);

// Every topic the station publishes to or listens on.
class Topics {
public:
    Topics(std::string prefix, std::string discoveryPrefix);

    std::string Status() const { return m_prefix + "/status"; }
    std::string Events() const { return m_prefix + "/events"; }
    std::string Plant() const { return m_prefix + "/plant"; }
    std::string Alert() const { return m_prefix + "/alert"; }
    std::string State(const std::string& id) const { return m_prefix + "/" + id + "/state"; }
    std::string Availability(const std::string& id) const {
        return m_prefix + "/" + id + "/availability";
    }
    // Every inverter's availability.
    std::string AllAvailability() const { return m_prefix + "/+/availability"; }
    // Where Home Assistant finds one sensor of an inverter.
    std::string SensorConfig(const std::string& id, const std::string& key) const;
    // Where Home Assistant announces that it (re)started.
    std::string HomeAssistantStatus() const { return m_discoveryPrefix + "/status"; }

private:
    std::string m_prefix;
    std::string m_discoveryPrefix;
};
