#include "PlantFields.h"

#include "store/PlantTotals.h"

#include <cmath>

namespace {
constexpr const char* MEASUREMENT = "measurement";
constexpr const char* TOTAL_INCREASING = "total_increasing";

// Sums of tenths carry binary noise ("691.1999999999999").
double Rounded(double value, double steps) {
    return std::round(value * steps) / steps;
}

struct PlantRow {
    StateField field;
    double (*value)(const PlantTotals&, std::uint64_t dropped);
};

const PlantRow ROWS[] = {
    {{.key = "power_w",
      .name = "Power",
      .deviceClass = "power",
      .unit = "W",
      .stateClass = MEASUREMENT},
     [](const PlantTotals& t, std::uint64_t) { return Rounded(t.powerW, 10); }},
    {{.key = "e_today_kwh",
      .name = "Energy today",
      .deviceClass = "energy",
      .unit = "kWh",
      .stateClass = TOTAL_INCREASING,
      .precision = 2,
      .counter = StateField::Counter::Daily},
     [](const PlantTotals& t, std::uint64_t) { return Rounded(t.eTodayKWh, 100); }},
    {{.key = "e_total_kwh",
      .name = "Lifetime energy",
      .deviceClass = "energy",
      .unit = "kWh",
      .stateClass = TOTAL_INCREASING,
      .precision = 1,
      .counter = StateField::Counter::Lifetime},
     [](const PlantTotals& t, std::uint64_t) { return Rounded(t.eTotalKWh, 10); }},
    {{.key = "inverters_reporting", .name = "Inverters reporting", .stateClass = MEASUREMENT},
     [](const PlantTotals& t, std::uint64_t) { return double(t.reporting); }},
    {{.key = "inverters_online"},
     [](const PlantTotals& t, std::uint64_t) { return double(t.answering); }},
    {{.key = "inverters_registered", .name = "Inverters registered", .stateClass = MEASUREMENT},
     [](const PlantTotals& t, std::uint64_t) { return double(t.registered); }},
    {{.key = "faults_open", .name = "Faults open", .stateClass = MEASUREMENT},
     [](const PlantTotals& t, std::uint64_t) { return double(t.faults); }},
    {{.key = "dropped_messages",
      .name = "Broker queue dropped",
      .stateClass = TOTAL_INCREASING,
      .diagnostic = true},
     [](const PlantTotals&, std::uint64_t dropped) { return double(dropped); }},
};
} // namespace

void PlantValues(const PlantTotals& totals, std::uint64_t dropped,
                 std::vector<FieldValue>& values) {
    values.clear();
    for (const PlantRow& row : ROWS) {
        values.push_back({&row.field, row.value(totals, dropped)});
    }
}

const std::vector<const StateField*>& PlantFields() {
    static const std::vector<const StateField*> fields = [] {
        std::vector<const StateField*> all;
        for (const PlantRow& row : ROWS) {
            all.push_back(&row.field);
        }
        return all;
    }();
    return fields;
}
