#include "ConditionTable.h"

#include "AlertRow.h"
#include "OutboxDb.h"

#include <QString>

namespace {
const char* const CONDITION_FIELDS =
    "open, announced_open, opened_at, window_end, occurrences, folded";

ConditionRecord RecordRow(const SqliteStatement& row) {
    ConditionRecord record;
    record.alert = AlertRow(row);
    constexpr int FIRST = ALERT_COLUMN_COUNT;
    record.open = row.Int(FIRST) != 0;
    record.announcedOpen = row.Int(FIRST + 1) != 0;
    record.openedAt = static_cast<std::time_t>(row.Int(FIRST + 2));
    record.windowEnd = static_cast<std::time_t>(row.Int(FIRST + 3));
    record.occurrences = static_cast<int>(row.Int(FIRST + 4));
    record.folded = static_cast<int>(row.Int(FIRST + 5));
    return record;
}

std::string SelectConditions(const char* where) {
    return std::string("SELECT ") + ALERT_COLUMNS + ", a." +
           QString(CONDITION_FIELDS).replace(", ", ", a.").toStdString() + " FROM condition a" +
           where;
}
} // namespace

void ConditionTable::SaveCondition(const ConditionRecord& record) {
    std::lock_guard lock(m_db.Mutex());
    SqliteStatement save = m_db.Db().Prepare((std::string("INSERT OR REPLACE INTO condition(") +
                                              ALERT_FIELDS + ", " + CONDITION_FIELDS +
                                              ") VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, "
                                              "?11, ?12, ?13, ?14, ?15, ?16, ?17, ?18)")
                                                 .c_str());
    Alert alert = record.alert;
    alert.count = record.occurrences;
    BindAlert(save, alert);
    save.Bind(13, record.open ? 1 : 0).Bind(14, record.announcedOpen ? 1 : 0);
    save.Bind(15, std::int64_t{record.openedAt}).Bind(16, std::int64_t{record.windowEnd});
    save.Bind(17, record.occurrences).Bind(18, record.folded);
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
    SqliteStatement query = m_db.Db().Prepare(SelectConditions("").c_str());
    while (query.Step()) {
        records.push_back(RecordRow(query));
    }
    return records;
}

std::vector<Alert> ConditionTable::OpenAlerts() {
    std::lock_guard lock(m_db.Mutex());
    std::vector<Alert> alerts;
    SqliteStatement query =
        m_db.Db().Prepare(SelectConditions(" WHERE a.open = 1 ORDER BY a.opened_at").c_str());
    while (query.Step()) {
        const ConditionRecord record = RecordRow(query);
        alerts.push_back(record.alert);
        alerts.back().time = record.openedAt;
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
