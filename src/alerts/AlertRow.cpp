#include "AlertRow.h"

#include "history/SqliteDb.h"

Alert AlertRow(const SqliteStatement& row) {
    Alert alert;
    alert.id = row.Int(0);
    alert.identity = row.Text(1);
    alert.rule = row.Text(2);
    alert.state = ParseAlertState(row.Text(3)).value_or(AlertState::Report);
    alert.severity = ParseSeverity(row.Text(4)).value_or(Severity::Error);
    alert.serial = row.Text(5);
    alert.port = static_cast<int>(row.Int(6));
    alert.address = static_cast<int>(row.Int(7));
    alert.title = row.Text(8);
    alert.text = row.Text(9);
    alert.time = static_cast<std::time_t>(row.Int(10));
    alert.count = static_cast<int>(row.Int(11));
    alert.station = row.Text(12);
    return alert;
}

void BindAlert(SqliteStatement& statement, const Alert& alert) {
    statement.Bind(1, alert.identity).Bind(2, alert.rule).Bind(3, AlertStateName(alert.state));
    statement.Bind(4, SeverityName(alert.severity)).Bind(5, alert.serial).Bind(6, alert.port);
    statement.Bind(7, alert.address).Bind(8, alert.title).Bind(9, alert.text);
    statement.Bind(10, std::int64_t{alert.time}).Bind(11, alert.count).Bind(12, alert.station);
}
