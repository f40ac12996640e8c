#pragma once

#include "model/InvFaultRecord.h"

#include <string>

// HistLogDirectory() + "/InvFaultRecord.dat"
std::string FaultRecordFilePath();

// Index -1 appends the record and returns its index in the file, or -1 when it
// could not be stored. Any other index rewrites that record in place and
// returns the index, or -1 when nothing was written: the file cannot be opened,
// the index lies outside it, or the record there is not the one being updated
// (same bytes apart from the end time).
//
// Only a regular file is written: a link or anything else in its place is
// refused. Failures of the file reach StorageHealth.
//
// Every port's thread calls this; one process-wide lock makes each append and
// the index it returns a single step.
int StoreFaultRecord(const InvFaultRecord& record, int index);
