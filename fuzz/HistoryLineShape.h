#pragma once

#include <string>

class RuntimeData;

// The history line of the record, checked to be whole: as many comma-separated
// fields as the header of its kind (15 single-phase, 30 three-phase), printable
// ASCII, and CR LF at its end and nowhere else.
void RequireWholeHistoryLine(const RuntimeData& data);
