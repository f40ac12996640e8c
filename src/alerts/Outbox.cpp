#include "Outbox.h"

#include "AlertRow.h"
#include "OutboxDb.h"

#include <algorithm>

namespace {
const std::string QUEUED = " d.sent IS NULL AND d.given_up IS NULL ";

const std::string INSERT_ALERT = std::string("INSERT INTO alert(") + ALERT_FIELDS +
                                 ", not_before) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10,"
                                 " ?11, ?12, ?13) RETURNING id";
const std::string NEXT_DUE = std::string("SELECT ") + ALERT_COLUMNS +
                             " FROM delivery d JOIN alert a ON a.id = d.alert WHERE d.channel = ?1"
                             " AND" +
                             QUEUED + "AND a.not_before <= ?2 ORDER BY a.id LIMIT 1";
// Each alert that got through or was tried, the latest first, one row per
// channel.
const std::string LAST_SENT =
    std::string("SELECT ") + ALERT_COLUMNS +
    ", d.channel, d.sent, d.given_up, d.attempts, d.error FROM alert a JOIN delivery d ON"
    " d.alert = a.id WHERE a.id IN (SELECT alert FROM delivery WHERE sent IS NOT NULL OR"
    " attempts > 0 OR given_up IS NOT NULL GROUP BY alert ORDER BY alert DESC LIMIT ?1)"
    " ORDER BY a.id DESC, d.channel";
const std::string PRUNE =
    "DELETE FROM alert WHERE time < ?1 AND NOT EXISTS (SELECT 1 FROM delivery d WHERE"
    " d.alert = alert.id AND" +
    QUEUED +
    ") AND id NOT IN (SELECT d.alert FROM delivery d"
    " WHERE d.sent IS NOT NULL GROUP BY d.alert ORDER BY MAX(d.sent) DESC LIMIT ?2)";

SentAlert::Delivery DeliveryRow(const SqliteStatement& row) {
    constexpr int FIRST = ALERT_COLUMN_COUNT;
    SentAlert::Delivery delivery;
    delivery.channel = row.Text(FIRST);
    if (!row.IsNull(FIRST + 1)) {
        delivery.outcome = SentAlert::Outcome::Sent;
        delivery.sentAt = static_cast<std::time_t>(row.Int(FIRST + 1));
    } else if (!row.IsNull(FIRST + 2)) {
        delivery.outcome = SentAlert::Outcome::GivenUp;
    }
    delivery.attempts = static_cast<int>(row.Int(FIRST + 3));
    delivery.error = row.Text(FIRST + 4);
    return delivery;
}

SentAlert UnstoredSent(const Alert& alert, const std::vector<std::string>& sentTo,
                       std::time_t sentAt, const std::set<std::string>& waiting) {
    SentAlert sent{alert, sentAt, {}};
    for (const std::string& channel : sentTo) {
        sent.deliveries.push_back({channel, SentAlert::Outcome::Sent, sentAt, 1, ""});
    }
    for (const std::string& channel : waiting) {
        sent.deliveries.push_back({channel, SentAlert::Outcome::Waiting, 0, 0, ""});
    }
    return sent;
}
} // namespace

std::int64_t Outbox::Add(Alert alert, const std::vector<std::string>& channels,
                         std::time_t notBefore) {
    std::lock_guard lock(m_db.Mutex());
    const std::set<std::string> waiting(channels.begin(), channels.end());
    if (Store(alert, waiting, notBefore, {}, 0)) {
        StoreUnstored();
        return alert.id;
    }
    alert.id = m_nextUnstoredId--;
    m_unstored.push_back({alert, notBefore, waiting, {}, 0});
    return alert.id;
}

bool Outbox::Store(Alert& alert, const std::set<std::string>& channels, std::time_t notBefore,
                   const std::vector<std::string>& sentTo, std::time_t sentAt) {
    SqliteDb& db = m_db.Db();
    SqliteTransaction transaction(db);
    SqliteStatement insert = db.Prepare(INSERT_ALERT.c_str());
    BindAlert(insert, alert);
    insert.Bind(13, std::int64_t{notBefore});
    bool stored = transaction.Begun() && insert.Step();
    const std::int64_t id = stored ? insert.Int(0) : 0;
    stored = stored && insert.Run();
    SqliteStatement deliver =
        db.Prepare("INSERT INTO delivery(alert, channel, sent) VALUES(?1, ?2, ?3)");
    for (const std::string& channel : channels) {
        stored = stored && deliver.Bind(1, id).Bind(2, channel).BindNull(3).Run();
    }
    for (const std::string& channel : sentTo) {
        stored = stored && deliver.Bind(1, id).Bind(2, channel).Bind(3, std::int64_t{sentAt}).Run();
    }
    stored = stored && transaction.Commit();
    const std::string& failed = !insert.Error().empty() ? insert.Error() : deliver.Error();
    m_db.Note(stored, "cannot keep an alert", failed.empty() ? db.Error() : failed);
    if (stored) {
        alert.id = id;
    }
    return stored;
}

// Alerts kept in memory while the file failed go into it in their order.
void Outbox::StoreUnstored() {
    while (!m_unstored.empty()) {
        Unstored& oldest = m_unstored.front();
        Alert alert = oldest.alert;
        if (!Store(alert, oldest.waiting, oldest.notBefore, oldest.sentTo, oldest.sentAt)) {
            return;
        }
        m_unstored.pop_front();
    }
}

Outbox::Unstored* Outbox::FindUnstored(std::int64_t id) {
    const auto found = std::find_if(m_unstored.begin(), m_unstored.end(),
                                    [id](const Unstored& item) { return item.alert.id == id; });
    return found == m_unstored.end() ? nullptr : &*found;
}

std::optional<Alert> Outbox::NextDue(const std::string& channel, std::time_t now) {
    std::lock_guard lock(m_db.Mutex());
    SqliteStatement query = m_db.Db().Prepare(NEXT_DUE.c_str());
    query.Bind(1, channel).Bind(2, std::int64_t{now});
    if (query.Step()) {
        return AlertRow(query);
    }
    for (const Unstored& item : m_unstored) {
        if (item.waiting.count(channel) > 0 && item.notBefore <= now) {
            return item.alert;
        }
    }
    return std::nullopt;
}

std::optional<std::time_t> Outbox::NextRelease(const std::string& channel, std::time_t now) {
    std::lock_guard lock(m_db.Mutex());
    SqliteStatement query =
        m_db.Db().Prepare(("SELECT MIN(a.not_before) FROM delivery d JOIN alert a ON a.id = d.alert"
                           " WHERE d.channel = ?1 AND" +
                           QUEUED + "AND a.not_before > ?2")
                              .c_str());
    query.Bind(1, channel).Bind(2, std::int64_t{now});
    std::optional<std::time_t> next;
    if (query.Step() && !query.IsNull(0)) {
        next = static_cast<std::time_t>(query.Int(0));
    }
    for (const Unstored& item : m_unstored) {
        if (item.waiting.count(channel) > 0 && item.notBefore > now) {
            next = std::min(next.value_or(item.notBefore), item.notBefore);
        }
    }
    return next;
}

void Outbox::MarkSent(std::int64_t id, const std::string& channel, std::time_t when) {
    std::lock_guard lock(m_db.Mutex());
    if (Unstored* item = FindUnstored(id)) {
        item->waiting.erase(channel);
        item->sentTo.push_back(channel);
        item->sentAt = when;
        return;
    }
    SqliteStatement update =
        m_db.Db().Prepare("UPDATE delivery SET sent = ?3, attempts = attempts + 1, error = ''"
                          " WHERE alert = ?1 AND channel = ?2");
    m_db.Note(update.Bind(1, id).Bind(2, channel).Bind(3, std::int64_t{when}).Run(),
              "cannot note a sent alert", update.Error());
}

void Outbox::MarkFailed(std::int64_t id, const std::string& channel, const std::string& error) {
    std::lock_guard lock(m_db.Mutex());
    if (FindUnstored(id) != nullptr) {
        return;
    }
    SqliteStatement update = m_db.Db().Prepare("UPDATE delivery SET attempts = attempts + 1, error "
                                               "= ?3 WHERE alert = ?1 AND channel = ?2");
    m_db.Note(update.Bind(1, id).Bind(2, channel).Bind(3, error).Run(), "cannot note a failure",
              update.Error());
}

int Outbox::GiveUpBefore(std::time_t before) {
    std::lock_guard lock(m_db.Mutex());
    SqliteStatement update = m_db.Db().Prepare(
        ("UPDATE delivery AS d SET given_up = ?1 WHERE" + QUEUED +
         "AND d.alert IN (SELECT id FROM alert WHERE time < ?1) RETURNING d.alert")
            .c_str());
    update.Bind(1, std::int64_t{before});
    int count = 0;
    while (update.Step()) {
        ++count;
    }
    const auto old = [before](const Unstored& item) { return item.alert.time < before; };
    for (const Unstored& item : m_unstored) {
        count += old(item) ? static_cast<int>(item.waiting.size()) : 0;
    }
    m_unstored.erase(std::remove_if(m_unstored.begin(), m_unstored.end(), old), m_unstored.end());
    return count;
}

void Outbox::Prune(std::time_t before, std::size_t keepSent) {
    std::lock_guard lock(m_db.Mutex());
    SqliteStatement prune = m_db.Db().Prepare(PRUNE.c_str());
    m_db.Note(
        prune.Bind(1, std::int64_t{before}).Bind(2, static_cast<std::int64_t>(keepSent)).Run(),
        "cannot forget old alerts", prune.Error());
}

std::size_t Outbox::Queued(const std::string& channel) {
    std::lock_guard lock(m_db.Mutex());
    SqliteStatement count = m_db.Db().Prepare(
        ("SELECT COUNT(*) FROM delivery d WHERE d.channel = ?1 AND" + QUEUED).c_str());
    count.Bind(1, channel);
    std::size_t queued = count.Step() ? static_cast<std::size_t>(count.Int(0)) : 0;
    for (const Unstored& item : m_unstored) {
        queued += item.waiting.count(channel);
    }
    return queued;
}

std::vector<SentAlert> Outbox::LastSent(std::size_t count) {
    std::lock_guard lock(m_db.Mutex());
    std::vector<SentAlert> sent;
    for (const Unstored& item : m_unstored) {
        if (!item.sentTo.empty()) {
            sent.push_back(UnstoredSent(item.alert, item.sentTo, item.sentAt, item.waiting));
        }
    }
    SqliteStatement query = m_db.Db().Prepare(LAST_SENT.c_str());
    query.Bind(1, static_cast<std::int64_t>(count));
    while (query.Step()) {
        if (sent.empty() || sent.back().alert.id != query.Int(0)) {
            sent.push_back({AlertRow(query), 0, {}});
        }
        SentAlert& item = sent.back();
        item.deliveries.push_back(DeliveryRow(query));
        item.sentAt = std::max(item.sentAt, item.deliveries.back().sentAt);
    }
    std::stable_sort(sent.begin(), sent.end(), [](const SentAlert& a, const SentAlert& b) {
        return a.alert.time > b.alert.time;
    });
    sent.resize(std::min(sent.size(), count));
    return sent;
}
