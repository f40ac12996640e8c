#pragma once

#include "BusMessage.h"

#include <cstdint>

class CInverterGroup;

// Frames the message and writes it to the group's inverter port. True when
// every byte went out.
bool SendCommand(CInverterGroup& group, const BusMessage& message);

// Reads one reply from the group's inverter port and checks it against the
// request just sent. On success the reply's message bytes are copied into
// reply; on failure reply is left as it was.
bool ReceiveReply(CInverterGroup& group, BusMessage& reply, std::uint8_t expectedFunction,
                  bool ackRequired);
