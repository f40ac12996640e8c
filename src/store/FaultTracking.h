#pragma once

class CInverter;

// Fills value1 to value3 of the inverter's fault record from the fault-time
// fields of its runtime data, chosen by the lowest set bit of the record's
// error bits. Bits without fault values leave the record as it is.
void CaptureFaultValues(CInverter& inverter);

// Keep the inverter's error fields and its fault record in step with the
// sample just decoded: a fault opens a record in the fault record file, the
// return to a normal or waiting mode closes it with its end time. A
// single-phase inverter opens a new record when its error bits change, a
// three-phase one when its fault mode changes. Nothing happens without runtime
// data of the matching kind.
void TrackFaultsSingle(CInverter& inverter);
void TrackFaultsThree(CInverter& inverter);
