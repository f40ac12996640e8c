#pragma once

#include "ConditionRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class OutboxDb;

// The conditions and a few marks (the last day checked, ...) in the outbox
// file. A failure to write is told once; the tracker keeps its own copy.
class ConditionTable : public ConditionStore {
public:
    explicit ConditionTable(OutboxDb& db) : m_db(db) {}

    void SaveCondition(const ConditionRecord& record) override;
    void DropCondition(const std::string& identity) override;
    std::vector<ConditionRecord> Conditions();
    // The conditions that hold now, each at the time it opened, for the web
    // pages.
    std::vector<Alert> OpenAlerts();

    std::optional<std::int64_t> Mark(const std::string& name);
    void SetMark(const std::string& name, std::int64_t value);

private:
    OutboxDb& m_db;
};
