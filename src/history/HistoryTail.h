#pragma once

#include "SummaryRows.h"

#include <ctime>
#include <functional>
#include <string>

// Reads the end of a history file: the samples from a time on, in file
// order. History files grow in time order, so the reading steps back from
// the end only as far as the first line before that time, and never holds
// more than one chunk of the file. A file that cannot be read gives nothing.
class HistoryTail {
public:
    using Visit = std::function<void(const SummarySample&)>;

    static void Read(const std::string& path, std::time_t from, const Visit& visit);
};
