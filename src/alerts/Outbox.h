#pragma once

#include "Alert.h"
#include "SentAlert.h"

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

class OutboxDb;

// Alerts waiting for their channels, kept before any is sent, so that
// neither a channel that is down nor a restart loses one. Each channel takes
// its alerts in the order they were raised. An alert that cannot be written
// (a full or failing disk is itself worth an alert) is kept in memory and
// written as soon as the file takes writes again. Safe from any thread.
class Outbox {
public:
    explicit Outbox(OutboxDb& db) : m_db(db) {}

    // Keeps the alert for the channels, none of them tried before notBefore;
    // its id.
    std::int64_t Add(Alert alert, const std::vector<std::string>& channels, std::time_t notBefore);
    // The oldest alert the channel has not had, if one is due.
    std::optional<Alert> NextDue(const std::string& channel, std::time_t now);
    // When the next alert held back for the channel becomes due.
    std::optional<std::time_t> NextRelease(const std::string& channel, std::time_t now);
    void MarkSent(std::int64_t id, const std::string& channel, std::time_t when);
    void MarkFailed(std::int64_t id, const std::string& channel, const std::string& error);
    // Stops trying alerts raised before the time; how many deliveries that
    // gave up.
    int GiveUpBefore(std::time_t before);
    // Forgets alerts raised before the time that wait for nothing, except
    // the last ones sent.
    void Prune(std::time_t before, std::size_t keepSent);
    std::size_t Queued(const std::string& channel);
    // The alerts that went out or were tried, the latest raised first.
    std::vector<SentAlert> LastSent(std::size_t count);

private:
    struct Unstored {
        Alert alert;
        std::time_t notBefore = 0;
        std::set<std::string> waiting;
        std::vector<std::string> sentTo;
        std::time_t sentAt = 0;
    };

    bool Store(Alert& alert, const std::set<std::string>& channels, std::time_t notBefore,
               const std::vector<std::string>& sentTo, std::time_t sentAt);
    void StoreUnstored();
    Unstored* FindUnstored(std::int64_t id);

    OutboxDb& m_db;
    std::deque<Unstored> m_unstored;
    std::int64_t m_nextUnstoredId = -1;
};
