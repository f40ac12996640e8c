#pragma once

#include "Alert.h"

class SqliteStatement;

// The columns of an alert row in the order AlertRow reads them, for a
// SELECT from the table (alert or condition) aliased "a".
inline constexpr const char* ALERT_COLUMNS =
    "a.id, a.identity, a.rule, a.state, a.severity, a.serial, a.port, a.address, a.title, "
    "a.text, a.time, a.count, a.station";
inline constexpr int ALERT_COLUMN_COUNT = 13;

Alert AlertRow(const SqliteStatement& row);
// Binds every column but the id, in that order, to ?1 to ?12.
void BindAlert(SqliteStatement& statement, const Alert& alert);
// The names of those columns, for an INSERT.
inline constexpr const char* ALERT_FIELDS =
    "identity, rule, state, severity, serial, port, address, title, text, time, count, station";
