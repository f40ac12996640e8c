#pragma once

#include "CommStep.h"

class CInverter;
struct CommSession;

// One registration attempt: the offline query, the address for the inverter
// that answered, then its description queries. A serial number the port
// already holds gets no new address.
CommStep RegisterNewInverter(CommSession& session);

// Asks registered inverters to register again; no reply is read.
void BroadcastReRegister(CommSession& session);

// The four description queries, each one exchange, each independent of the
// others' outcome.
void ReadDeviceInfo(CommSession& session, CInverter& inverter);
void ReadRuntimeFormat(CommSession& session, CInverter& inverter);
void ReadParamFormat(CommSession& session, CInverter& inverter);
void ReadParamValues(CommSession& session, CInverter& inverter);
