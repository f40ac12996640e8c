#include "HistoryFileName.h"

namespace {
bool IsSafe(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.';
}
} // namespace

std::string HistoryFileName(const std::string& serialNo) {
    if (serialNo.empty()) {
        return std::string(UNKNOWN_SERIAL_FILE_NAME);
    }
    std::string name = serialNo;
    for (char& c : name) {
        if (!IsSafe(c)) {
            c = '_';
        }
    }
    if (name.front() == '.') {
        name.front() = '_';
    }
    return name + ".csv";
}
