#pragma once

#include <string>

class CInverter;

// HistLogDirectory() + "/" + HistoryFileName(serialNo)
std::string HistoryFilePath(const std::string& serialNo);

// Append the inverter's latest sample to its history file. A line that cannot
// be written is lost; the next poll tries again.
void WriteSingleHistory(const CInverter& inverter);
void WriteThreeHistory(const CInverter& inverter);
