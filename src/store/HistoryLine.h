#pragma once

#include <ctime>
#include <string>
#include <string_view>

class RuntimeData;

// First line of a new history file, CR LF included.
extern const std::string_view SINGLE_HISTORY_HEADER;
extern const std::string_view THREE_HISTORY_HEADER;

// One data line of a history file, CR LF included, built from the values the
// record gives under its field identifiers.
std::string SingleHistoryLine(const RuntimeData& data);
std::string ThreeHistoryLine(const RuntimeData& data);
