#include "ConditionTable.h"

#include "OutboxDb.h"

namespace {
const char* const COLUMNS =
    "identity, rule, severity, serial, port, address, title, text, time,"
    " station, open, announced_open, opened_at, window_end, occurrences, folded";

ConditionRecord RecordRow(const SqliteStatement& row) {
    ConditionRecord record;
    Alert& alert = record.alert;
    alert.identity = row.Text(0);
    alert.rule = row.Text(1);
    alert.state = AlertState::Open;
    alert.severity = ParseSeverity(row.Text(2)).value_or(Severity::Error);
    alert.serial = row.Text(3);
    alert.port = static_cast<int>(row.Int(4));
    alert.address = static_cast<int>(row.Int(5));
    alert.title = row.Text(6);
    alert.text = row.Text(7);
    alert.time = static_cast<std::time_t>(row.Int(8));
    alert.station = row.Text(9);
    record.open = row.Int(10) != 0;
    record.announcedOpen = row.Int(11) != 0;
    record.openedAt = static_cast<std::time_t>(row.Int(12));
    record.windowEnd = static_cast<std::time_t>(row.Int(13));
    record.occurrences = static_cast<int>(row.Int(14));
    record.folded = static_cast<int>(row.Int(15));
    alert.count = record.occurrences;
    return record;
}
} // namespace

void ConditionTable::SaveCondition(const ConditionRecord& record) {
    std::lock_guard lock(m_db.Mutex());
    const Alert& alert = record.alert;
    SqliteStatement save = m_db.Db().Prepare(
        (std::string("INSERT OR REPLACE INTO condition(") + COLUMNS +
         ") VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16)")
            .c_str());
    save.Bind(1, alert.identity).Bind(2, alert.rule).Bind(3, SeverityName(alert.severity));
    save.Bind(4, alert.serial).Bind(5, alert.port).Bind(6, alert.address).Bind(7, alert.title);
    save.Bind(8, alert.text).Bind(9, std::int64_t{alert.time}).Bind(10, alert.station);
    save.Bind(11, record.open ? 1 : 0).Bind(12, record.announcedOpen ? 1 : 0);
    save.Bind(13, std::int64_t{record.openedAt}).Bind(14, std::int64_t{record.windowEnd});
    save.Bind(15, record.occurrences).Bind(16, record.folded);
    m_db.Note(save.Run(), "cannot keep a condition", save.Error());
}

void ConditionTable::DropCondition(const std::string& identity) {
    std::lock_guard lock(m_db.Mutex());
    SqliteStatement drop = m_db.Db().Prepare("DELETE FROM condition WHERE identity = ?1");
    m_db.Note(drop.Bind(1, identity).Run(), "cannot drop a condition", drop.Error());
}

std::vector<ConditionRecord> ConditionTable::Conditions() {
    std::lock_guard lock(m_db.Mutex());
    std::vector<ConditionRecord> records;
    SqliteStatement query =
        m_db.Db().Prepare((std::string("SELECT ") + COLUMNS + " FROM condition").c_str());
    while (query.Step()) {
        records.push_back(RecordRow(query));
    }
    return records;
}

std::vector<Alert> ConditionTable::OpenAlerts() {
    std::lock_guard lock(m_db.Mutex());
    std::vector<Alert> alerts;
    SqliteStatement query = m_db.Db().Prepare(
        (std::string("SELECT ") + COLUMNS + " FROM condition WHERE open = 1 ORDER BY opened_at")
            .c_str());
    while (query.Step()) {
        alerts.push_back(RecordRow(query).alert);
    }
    return alerts;
}

std::optional<std::int64_t> ConditionTable::Mark(const std::string& name) {
    std::lock_guard lock(m_db.Mutex());
    SqliteStatement query = m_db.Db().Prepare("SELECT value FROM mark WHERE name = ?1");
    query.Bind(1, name);
    if (query.Step()) {
        return query.Int(0);
    }
    return std::nullopt;
}

void ConditionTable::SetMark(const std::string& name, std::int64_t value) {
    std::lock_guard lock(m_db.Mutex());
    SqliteStatement save =
        m_db.Db().Prepare("INSERT OR REPLACE INTO mark(name, value) VALUES(?1, ?2)");
    m_db.Note(save.Bind(1, name).Bind(2, value).Run(), "cannot keep a mark", save.Error());
}
