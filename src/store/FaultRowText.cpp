#include "FaultRowText.h"

#include "CsvField.h"
#include "FaultText.h"
#include "model/NoTime.h"
#include "platform/TimeText.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {
__attribute__((format(printf, 1, 2))) std::string Printf(const char* format, ...) {
    char text[80];
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

std::string EndTimeText(const InvFaultRecord& record) {
    return record.endTime == g_tNoTime ? "----" : LocalTimeText(record.endTime);
}

std::string RecordModeText(const InvFaultRecord& record) {
    return record.mode == 2 || record.mode == 3 ? ModeText(record.mode) : std::string();
}

// Spreadsheets would read a serial number of digits only as a number.
bool IsDigitsOnly(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// value / divisor with as many decimals as the divisor has zeros.
std::string Fixed(unsigned value, unsigned divisor) {
    return Printf("%u.%0*u", value / divisor, divisor == 100 ? 2 : 1, value % divisor);
}

// One value, or three phase values when the second one is set.
std::string PhaseValues(const char* name, unsigned divisor, const char* unit,
                        const InvFaultRecord& record) {
    if (record.value2 == 0) {
        return Printf("%s : %s %s", name, Fixed(record.value1, divisor).c_str(), unit);
    }
    return Printf("%s1/2/3 : %s/%s/%s %s", name, Fixed(record.value1, divisor).c_str(),
                  Fixed(record.value2, divisor).c_str(), Fixed(record.value3, divisor).c_str(),
                  unit);
}
} // namespace

std::string FaultSerialText(const InvFaultRecord& record) {
    return std::string(record.serialNo.data(), strnlen(record.serialNo.data(), 16));
}

std::string FaultValueText(const InvFaultRecord& record) {
    const unsigned first = record.value1;
    switch (LowestSetBit(record.errorBits)) {
    case 10: return Printf("GFCI : %u:%03u A", first / 1000, first % 1000);
    case 13: return Printf("Temp : %s C", Fixed(first, 10).c_str());
    case 15: return PhaseValues("Vpv", 10, "V", record);
    case 16:
    case 17: return PhaseValues("Vac", 10, "V", record);
    case 29: return PhaseValues("Fac", 100, "Hz", record);
    default: return {};
    }
}

FaultRowTexts FaultRowTextsOf(const InvFaultRecord& record) {
    return {FaultSerialText(record), LocalTimeText(record.startTime), EndTimeText(record),
            RecordModeText(record),  FaultText(record.errorBits),     FaultValueText(record)};
}

// Each field stays one column however its text reads.
std::string FaultExportLine(const FaultRowTexts& texts) {
    const std::string& serial = texts[FAULT_SERNO];
    std::string line = IsDigitsOnly(serial) ? "'" + serial + " ," : CsvField(serial + " ") + ",";
    line += CsvField("  " + texts[FAULT_START_TIME]) + ",";
    line += CsvField("  " + texts[FAULT_ERROR_TIME]) + ",";
    line += CsvField(texts[FAULT_MODE]) + ",";
    line += CsvField(texts[FAULT_MESSAGE]) + ",";
    line += CsvField(texts[FAULT_VALUE] + " ") + "\r\n";
    return line;
}
