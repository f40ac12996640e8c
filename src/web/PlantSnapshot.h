#pragma once

#include "MinuteBuckets.h"
#include "model/InvFaultRecord.h"
#include "model/ReplyCheck.h"
#include "model/RuntimeData.h"
#include "publish/BrokerStatus.h"
#include "store/Freshness.h"
#include "store/PlantTotals.h"

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
    Freshness freshness = Freshness::Offline;
    std::shared_ptr<const RuntimeData> sample; // null until a poll was decoded
    std::vector<DayPoint> minutes;             // of the day, when the scope asks for them
    std::vector<std::uint8_t> fields;          // the values its samples carry
    std::vector<ParamView> params;
    std::optional<InvFaultRecord> openFault;
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

struct PlantSnapshot {
    std::time_t taken = 0;
    std::vector<PortView> ports;
    std::vector<InverterView> inverters;
    PlantTotals totals;                 // the station's own, as the window and publishing show them
    std::vector<DayPoint> plantMinutes; // the plant's power, from the scope's minute on
    BrokerStatus broker;                // disabled unless the station publishes

    const InverterView* Find(const std::string& serial) const;
};

struct SnapshotScope {
    bool withMinutes = false;
    std::string serial;           // empty: every inverter
    std::time_t minutesSince = 0; // with the minutes: from the minute holding this time on
};

// Copies what the pages and metrics show, holding each group's lock only
// while its records are copied. Totals, the plant's minutes and the broker
// are left for the caller.
PlantSnapshot TakeSnapshot(const GroupVisitor& groups, const SnapshotScope& scope = {});
