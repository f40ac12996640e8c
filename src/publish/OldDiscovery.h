#pragma once

#include <string>

class Topics;

// Whether a retained message is the configuration of a single sensor that an
// earlier version of this station announced: under the discovery prefix,
// named after the station, with a state topic under this station's prefix.
// Another station's sensors are not this one's to remove.
bool IsOwnOldSensorConfig(const Topics& topics, const std::string& topic,
                          const std::string& payload);
