#pragma once

#include "model/InvFaultRecord.h"

#include <string>
#include <vector>

// The records of a fault record file in file order. A missing file, one
// without the header or one no longer than it gives no records; a trailing
// partial record is ignored. If memory runs out, the records read so far.
std::vector<InvFaultRecord> LoadFaultRecords(const std::string& path);
