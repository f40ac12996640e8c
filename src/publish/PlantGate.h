#pragma once

#include <ctime>
#include <optional>

struct PlantTotals;

// Holds the plant's figures back until they are whole: every port has been
// through its first registration round and every inverter found has been
// read. A port that never settles (a line garbled for good) delays them at
// most as long as a full bus takes to register, one inverter per
// registration period and a last query that finds nobody. Once open it stays
// open: inverters found later only add to the sums.
class PlantGate {
public:
    static const std::time_t LONGEST_ROUND;

    // Times are those of the totals.
    bool Open(const PlantTotals& totals);
    // When it opened; none while it is closed.
    std::optional<std::time_t> OpenedAt() const { return m_openedAt; }

private:
    std::optional<std::time_t> m_firstSeen;
    std::optional<std::time_t> m_openedAt;
};
