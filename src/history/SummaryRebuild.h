#pragma once

#include "SummaryUpdater.h"

#include <cstdint>
#include <functional>
#include <string>

class SummaryStore;

struct RebuildReport {
    int files = 0;
    ReadCounts counts;
    std::string movedAside; // why the summary found was moved aside; empty if none was
};

// What a person should hear of: a summary moved aside, files left unread.
std::string RebuildNote(const RebuildReport& report);

// Told how far a rebuild has come; false abandons it.
using RebuildProgress = std::function<bool(std::int64_t doneBytes, std::int64_t totalBytes)>;

// Builds a new summary from every history file of HistLogDirectory() beside
// the one at SummaryPath(), then puts it in that one's place. False, with the
// reason, when it could not; the old summary is then left as it was.
bool RebuildSummary(const RebuildProgress& progress, RebuildReport& report, std::string* problem);

// Opens the summary for writing. One that is missing is built; one that is
// not a summary, is damaged or has another schema version is moved aside
// first. Then every history file is read up to its end.
[[nodiscard]] bool OpenSummary(SummaryStore& store, RebuildReport& report, std::string* problem,
                               const RebuildProgress& progress = {});

// Moves a summary found damaged while in use aside and builds it anew.
[[nodiscard]] bool ReplaceDamagedSummary(SummaryStore& store, RebuildReport& report,
                                         std::string* problem,
                                         const RebuildProgress& progress = {});

// Reads every history file of the directory from where the summary stopped,
// in one transaction.
bool CatchUpSummary(SummaryStore& store, ReadCounts& counts, std::string* problem);
