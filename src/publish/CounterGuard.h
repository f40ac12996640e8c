#pragma once

#include "StateFields.h"

#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Keeps what is published for a value that only counts up from ever going
// back, for one device. A dip smaller than a reset (a rounding, a counter
// read while it turns over) is held at the last value. A drop to 0 or below
// half is a reset once it has lasted a few samples: then it is published and
// logged, and until then the last value stands, so a single wrong reading
// never reaches a statistic. A daily counter starts again on a new day at
// once. A lifetime counter first seen at 0, as from a unit still booting, is
// not published until it has read 0 as long.
class CounterGuard {
public:
    static constexpr int CONFIRMATIONS = 3;

    // who: the device, for the log ("SIM0000000003001", "plant").
    explicit CounterGuard(std::string who) : m_who(std::move(who)) {}

    // What to publish for the value, reported on the local day given
    // (yyyymmdd); none while there is nothing that may be published yet.
    // Fields that are not counters pass as they are.
    std::optional<double> Pass(const StateField& field, double value, int day);
    // Passes every value in place; false when one may not be published yet.
    bool PassAll(std::vector<FieldValue>& values, int day);

private:
    struct Track {
        bool known = false;
        double last = 0.0;
        int lastRiseDay = 0;
        int lowSamples = 0; // in a row, below what a dip explains
    };

    std::optional<double> First(const StateField& field, Track& track, double value, int day);
    double Lower(const StateField& field, Track& track, double value, int day);

    std::string m_who;
    std::map<const StateField*, Track> m_tracks;
};

// The local day of a time as yyyymmdd.
int LocalDay(std::time_t time);
