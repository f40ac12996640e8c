#include "OldDiscovery.h"

#include "Topics.h"

#include <rapidjson/document.h>

bool IsOwnOldSensorConfig(const Topics& topics, const std::string& topic,
                          const std::string& payload) {
    const std::string start = topics.DiscoveryPrefix() + "/sensor/heliowatch_";
    if (payload.empty() || topic.rfind(start, 0) != 0) {
        return false;
    }
    rapidjson::Document config;
    config.Parse(payload.data(), payload.size());
    if (config.HasParseError() || !config.IsObject() || !config.HasMember("state_topic")) {
        return false;
    }
    const auto& stateTopic = config["state_topic"];
    return stateTopic.IsString() &&
           std::string(stateTopic.GetString()).rfind(topics.Prefix() + "/", 0) == 0;
}
