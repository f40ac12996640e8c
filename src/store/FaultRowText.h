#pragma once

#include "model/InvFaultRecord.h"

#include <array>
#include <string>
#include <string_view>

// A fault record as the error list shows and exports it: serial number,
// start time, end time, mode, message and value, in that order.
enum FaultColumn {
    FAULT_SERNO,
    FAULT_START_TIME,
    FAULT_ERROR_TIME,
    FAULT_MODE,
    FAULT_MESSAGE,
    FAULT_VALUE,
    FAULT_COLUMNS
};
using FaultRowTexts = std::array<std::string, FAULT_COLUMNS>;

inline constexpr std::string_view FAULT_EXPORT_HEADER =
    "Serno, Start time, Error time, Mode, Message, Value\r\n";

std::string FaultSerialText(const InvFaultRecord& record);
// The fault values as text, chosen by the lowest set error bit.
std::string FaultValueText(const InvFaultRecord& record);
FaultRowTexts FaultRowTextsOf(const InvFaultRecord& record);
// One line of the export file, CR LF included.
std::string FaultExportLine(const FaultRowTexts& texts);
