// The history file name of any serial number an inverter may send.

#include "FuzzCheck.h"
#include "store/HistoryFileName.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace {
constexpr std::string_view SUFFIX = ".csv";

bool IsSafe(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '%';
}

void RequireSafeName(const std::string& name) {
    Require(name.size() > SUFFIX.size() && name.substr(name.size() - SUFFIX.size()) == SUFFIX,
            "a history file name is a name before \".csv\"");
    Require(std::all_of(name.begin(), name.end(), IsSafe),
            "a history file name holds letters, digits, '-', '_', '.' and '%' escapes only");
    Require(name.front() != '.', "a history file name is never hidden, \".\" or \"..\"");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string serialNo(reinterpret_cast<const char*>(data), size);
    const std::string name = HistoryFileName(serialNo);
    RequireSafeName(name);
    Require(SerialOfHistoryFileName(name) == serialNo,
            "a history file name gives back its serial number");
    return 0;
}
