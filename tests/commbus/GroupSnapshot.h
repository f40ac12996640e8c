#pragma once

#include "InverterSnapshot.h"

#include <vector>

class CInverterGroup;

// Walks the group under its lock, as the views do, and copies every record.
std::vector<InverterSnapshot> SnapshotGroup(const CInverterGroup& group);
