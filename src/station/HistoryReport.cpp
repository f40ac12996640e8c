#include "HistoryReport.h"

#include "history/SummaryReader.h"
#include "history/SummaryText.h"
#include "platform/TimeText.h"
#include "store/LocalCalendar.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {
constexpr int REPORT_KWH_DECIMALS = 2;
constexpr std::time_t SECONDS_PER_HOUR = 3600;

struct Column {
    std::string name;
    std::int64_t source;
};

// Energy by row key: hour starts of a day, bar keys otherwise.
using Energies = std::map<std::int64_t, std::int64_t>;

Energies HourlyEnergy(SummaryReader& reader, const LocalCalendar::Day& day, std::int64_t source) {
    Energies hours;
    for (const CurvePoint& point : reader.Curve(day.start, day.end, source)) {
        hours[day.start + (point.start - day.start) / SECONDS_PER_HOUR * SECONDS_PER_HOUR] +=
            point.energyWh;
    }
    return hours;
}

Energies PeriodEnergy(SummaryReader& reader, const HistoryPeriod& period, std::int64_t source) {
    Energies energy;
    for (const auto& [key, wattHours] :
         reader.Energy(period.FirstDay(), period.LastDay(), period.BarDivisor(), source)) {
        energy[key] = wattHours;
    }
    return energy;
}

std::string Padded(const std::string& text, std::size_t width, bool right) {
    const std::string blanks(width > text.size() ? width - text.size() : 0, ' ');
    return right ? blanks + text : text + blanks;
}

std::string Table(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    std::string text;
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            text += (i == 0 ? "" : "  ") + Padded(row[i], widths[i], i > 0);
        }
        text += '\n';
    }
    return text;
}

bool ChooseColumns(SummaryReader& reader, const std::string& serial, std::vector<Column>& columns,
                   std::string& problem) {
    if (!serial.empty()) {
        const std::optional<SummarySource> source = reader.SourceOfSerial(serial);
        if (!source) {
            problem = "no inverter with serial number " + serial + " in the history summary";
            return false;
        }
        columns.push_back({source->name, source->id});
        return true;
    }
    columns.push_back({"plant", SummaryReader::PLANT});
    for (const SummarySource& source : reader.Sources()) {
        columns.push_back({source.name, source.id});
    }
    return true;
}
} // namespace

bool HistoryReport(SummaryReader& reader, const HistoryPeriod& period, const std::string& serial,
                   std::string& text, std::string& problem) {
    std::vector<Column> columns;
    if (!ChooseColumns(reader, serial, columns, problem)) {
        return false;
    }
    const bool byHour = period.kind == PeriodKind::DAY;
    const LocalCalendar::Day day = LocalCalendar().Bounds(period.anchor);
    std::vector<std::int64_t> keys;
    if (byHour) {
        for (std::time_t hour = day.start; hour < day.end; hour += SECONDS_PER_HOUR) {
            keys.push_back(hour);
        }
    } else {
        for (const int key : period.BarKeys(0, -1)) {
            keys.push_back(key);
        }
    }
    std::vector<std::vector<std::string>> rows{{byHour                             ? "hour"
                                                : period.kind == PeriodKind::MONTH ? "date"
                                                                                   : "month"}};
    std::vector<Energies> energies;
    for (const Column& column : columns) {
        rows[0].push_back(column.name);
        energies.push_back(byHour ? HourlyEnergy(reader, day, column.source)
                                  : PeriodEnergy(reader, period, column.source));
    }
    std::vector<std::int64_t> totals(columns.size(), 0);
    for (const std::int64_t key : keys) {
        std::vector<std::string> row{
            byHour ? IsoMinuteText(key)
                   : PeriodKeyText(static_cast<int>(key), period.BarDivisor())};
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const std::int64_t wattHours = energies[i].count(key) ? energies[i][key] : 0;
            totals[i] += wattHours;
            row.push_back(KilowattHoursText(wattHours, REPORT_KWH_DECIMALS));
        }
        rows.push_back(std::move(row));
    }
    std::vector<std::string> total{"total"};
    for (const std::int64_t wattHours : totals) {
        total.push_back(KilowattHoursText(wattHours, REPORT_KWH_DECIMALS));
    }
    rows.push_back(std::move(total));
    text = "Energy in kWh, " + period.Label() + "\n" + Table(rows);
    return true;
}
