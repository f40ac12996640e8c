#pragma once

#include "CommStep.h"

#include <cstdint>
#include <string>

class CInverter;
struct CommSession;

// Steps that carry out the user's requests. Each handles the first inverter
// (head to tail) that asks for it, or every queued parameter write.
CommStep WritePendingParams(CommSession& session);
CommStep RemoveRequestedInverter(CommSession& session);
CommStep ResetRequestedTotals(CommSession& session);
CommStep ChangeRequestedSerial(CommSession& session);
CommStep BroadcastReconnectAll(CommSession& session);

// The writes a dialog may be waiting for, taken between the polls of a cycle
// so that they wait at most one transaction: every queued parameter write and
// serial-number change of the group.
void RunWaitingWrites(CommSession& session);

// Keeps a parameter value read from or accepted by the inverter in its slot;
// identifiers outside 0x40..0x4B are not kept. Caller holds the record's lock.
void StoreParamValue(std::uint16_t identifier, std::uint16_t value, CInverter& inverter);

// Called by the user interface. Each returns the ticket under which the
// thread reports the outcome (CommandReports.h).
// Queues a write for the communication thread.
std::uint32_t QueueParamWrite(CInverter& inverter, std::uint16_t identifier, std::uint16_t value);
// Sets the serial-number change request, with the number and its ticket.
std::uint32_t RequestSerialChange(CInverter& inverter, const std::string& serialNo);
