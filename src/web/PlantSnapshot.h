#pragma once

#include "model/InvFaultRecord.h"
#include "model/ReplyCheck.h"
#include "model/RuntimeData.h"
#include "publish/BrokerStatus.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CInverterGroup;

// Hands each port group to the visitor while no group can come or go.
using GroupVisitor = std::function<void(const std::function<void(const CInverterGroup&)>&)>;

struct ParamView {
    int identifier = 0;
    int value = 0;
};

// One inverter as it was when the snapshot was taken; owns all it shows.
struct InverterView {
    int port = 0;
    int address = 0;
    std::string serial;
    std::string model;
    std::string firmware;
    std::string manufacturer;
    int ratedPower = 0;
    int phaseType = 0;
    bool online = false;
    int errorState = 0;
    std::uint32_t errorCode = 0;
    int lastMode = 0;
    std::shared_ptr<const RuntimeData> sample; // null until a poll was decoded
    std::vector<ParamView> params;
    std::optional<InvFaultRecord> openFault;

    // Online and its last fault episode closed: green in the list.
    bool Producing() const { return online && errorState == 1; }
};

struct PortView {
    int port = 0;
    bool open = false;
    std::string problem;
    std::uint64_t polls = 0;
    std::uint64_t failedPolls = 0;
    std::uint64_t reopens = 0;
    std::vector<std::pair<ReplyCheck, std::uint64_t>> rejects;
};

struct SnapshotTotals {
    double powerW = 0.0;
    double energyTodayKwh = 0.0;
    double energyTotalKwh = 0.0;
    int inverters = 0;
    int online = 0;
};

struct PlantSnapshot {
    std::time_t taken = 0;
    std::vector<PortView> ports;
    std::vector<InverterView> inverters;
    BrokerStatus broker; // disabled unless the station publishes

    // Power counts only inverters producing; energy counts every sample.
    SnapshotTotals Totals() const;
    const InverterView* Find(const std::string& serial) const;
};

struct SnapshotScope {
    std::string serial; // empty: every inverter
};

// Copies what the pages and metrics show, holding each group's lock only
// while its records are copied.
PlantSnapshot TakeSnapshot(const GroupVisitor& groups, const SnapshotScope& scope = {});
