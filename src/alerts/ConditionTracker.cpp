#include "ConditionTracker.h"

#include "platform/TimeText.h"

void ConditionTracker::Restore(const std::vector<ConditionRecord>& records) {
    for (const ConditionRecord& record : records) {
        m_records[record.alert.identity] = record;
    }
}

std::optional<Alert> ConditionTracker::Open(const Alert& opening, std::time_t now) {
    ConditionRecord& record = m_records[opening.identity];
    if (record.open) {
        return std::nullopt;
    }
    record.alert = opening;
    record.open = true;
    record.openedAt = now;
    ++record.occurrences;
    if (now < record.windowEnd) {
        ++record.folded;
        m_store.SaveCondition(record);
        return std::nullopt;
    }
    record.windowEnd = now + m_repeatSeconds;
    record.occurrences = 1;
    record.folded = 0;
    record.announcedOpen = true;
    m_store.SaveCondition(record);
    Alert told = opening;
    told.state = AlertState::Open;
    told.count = 1;
    return told;
}

std::optional<Alert> ConditionTracker::Close(const Alert& closing, std::time_t now) {
    const auto found = m_records.find(closing.identity);
    if (found == m_records.end() || !found->second.open) {
        return std::nullopt;
    }
    ConditionRecord& record = found->second;
    record.open = false;
    const bool tell = record.announcedOpen;
    record.announcedOpen = false;
    Alert told = closing;
    told.state = AlertState::Closed;
    told.count = record.occurrences;
    if (now >= record.windowEnd && record.folded == 0) {
        m_store.DropCondition(closing.identity);
        m_records.erase(found);
    } else {
        m_store.SaveCondition(record);
    }
    return tell ? std::optional<Alert>(told) : std::nullopt;
}

std::vector<Alert> ConditionTracker::Tick(std::time_t now) {
    std::vector<Alert> told;
    for (auto record = m_records.begin(); record != m_records.end();) {
        ConditionRecord& condition = record->second;
        if (now < condition.windowEnd) {
            ++record;
            continue;
        }
        if (condition.folded > 0) {
            told.push_back(Folded(condition, now));
        }
        if (!condition.open) {
            m_store.DropCondition(record->first);
            record = m_records.erase(record);
        } else {
            ++record;
        }
    }
    return told;
}

// One alert for the openings folded into the window just ended; a new window
// begins with it.
Alert ConditionTracker::Folded(ConditionRecord& record, std::time_t now) const {
    Alert told = record.alert;
    told.state = record.open ? AlertState::Open : AlertState::Closed;
    told.count = record.occurrences;
    told.time = now;
    const std::string since = LocalTimeText(record.windowEnd - m_repeatSeconds, "%Y-%m-%d %H:%M");
    told.title += " (" + std::to_string(record.occurrences) + " times)";
    told.text += " It opened " + std::to_string(record.occurrences) + " times since " + since +
                 (record.open ? " and holds now." : " and is over now.");
    record.announcedOpen = record.open;
    record.occurrences = record.open ? 1 : 0;
    record.folded = 0;
    record.windowEnd = record.open ? now + m_repeatSeconds : 0;
    m_store.SaveCondition(record);
    return told;
}

bool ConditionTracker::IsOpen(const std::string& identity) const {
    const auto found = m_records.find(identity);
    return found != m_records.end() && found->second.open;
}

std::optional<std::time_t> ConditionTracker::OpenSince(const std::string& identity) const {
    const auto found = m_records.find(identity);
    if (found == m_records.end() || !found->second.open) {
        return std::nullopt;
    }
    return found->second.openedAt;
}
