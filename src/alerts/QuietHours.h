#pragma once

#include <ctime>
#include <optional>

// The stretch of each local day, from QuietFrom to QuietTo (it may run past
// midnight), in which only faults are sent; the rest waits for its end.
class QuietHours {
public:
    QuietHours(std::optional<int> fromMinute, std::optional<int> toMinute);

    // The end of the quiet stretch the moment falls in; the moment itself
    // when it falls in none.
    std::time_t Release(std::time_t moment) const;

private:
    std::optional<int> m_from;
    std::optional<int> m_to;
};
