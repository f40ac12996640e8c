#pragma once

#include "StateFields.h"
#include "model/RuntimeData.h"

#include <memory>
#include <string>

class CInverter;

// One decoded poll as the publisher needs it, copied so that the record may
// change or go as soon as the copy is made.
struct StateSample {
    int comPort = 0;
    int address = 0;
    std::string serialNo;
    std::string model;
    std::string manufacturer;
    std::string firmware;
    std::unique_ptr<RuntimeData> data;
    OfferedFields offered;
};

// On the inverter's communication thread, the only one that changes the
// record, so no lock is needed.
StateSample CaptureState(const CInverter& inverter);
