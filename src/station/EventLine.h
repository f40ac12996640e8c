#pragma once

#include "model/ReplyCheck.h"
#include "platform/Log.h"
#include "store/StationEvent.h"

#include <cstdint>
#include <ctime>
#include <string>

// One line of the headless station's log: local time, port, bus address,
// serial number and the event as one lowercase word. Fields that do not
// apply, or are empty, are "-"; a serial number shows no blanks or control
// bytes, so the line always splits into the same fields.
std::string EventLine(std::time_t when, int comPort, int address, const std::string& serialNo,
                      const char* event);
// Warning for what someone must look into (an inverter gone offline or in a
// fault, a port that fails), else information.
LogLevel EventLevel(StationEventKind kind);

// "<time> broker-connected", with " dropped=N" when messages were let go
// while the broker was away, or "<time> broker-lost <reason>".
std::string BrokerLine(std::time_t when, bool connected, const std::string& reason,
                       std::uint64_t dropped);

std::string PlantLine(std::time_t when, double powerW, double eTodayKWh, double eTotalKWh,
                      int answering, int registered);

// " rejected[COM3]=bad-checksum:2,no-sync-bytes:1" for a port whose replies
// were rejected, else empty; appended to the plant line.
std::string RejectsField(int comPort, const ReplyRejectCounts& rejects);
