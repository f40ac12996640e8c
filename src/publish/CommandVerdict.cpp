#include "CommandVerdict.h"

#include "Topics.h"

CommandVerdict JudgeCommand(const Topics& topics, bool allowed, const std::string& topic,
                            bool retained) {
    const std::string heard = "MQTT command on " + topic;
    if (retained) {
        return {false, LogLevel::Warning, heard + " ignored: a retained message is not a press"};
    }
    if (!allowed) {
        return {false, LogLevel::Warning, heard + " refused: commands are off ([Mqtt] Commands=0)"};
    }
    if (topic != topics.Command("reconnect_all")) {
        return {false, LogLevel::Warning, heard + " refused: the station has no such command"};
    }
    return {true, LogLevel::Info, heard + ": every port sends \"reconnect all\""};
}
