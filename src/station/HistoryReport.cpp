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

Outcome<Energies> HourlyEnergy(SummaryReader& reader, const LocalCalendar::Day& day,
                               std::int64_t source) {
    const auto curve = reader.Curve(day.start, day.end, source);
    if (!curve) {
        return Outcome<Energies>::Failure(curve.Reason());
    }
    Energies hours;
    for (const CurvePoint& point : *curve) {
        hours[day.start + (point.start - day.start) / SECONDS_PER_HOUR * SECONDS_PER_HOUR] +=
            point.energyWh;
    }
    return hours;
}

Outcome<Energies> PeriodEnergy(SummaryReader& reader, const HistoryPeriod& period,
                               std::int64_t source) {
    const auto bars =
        reader.Energy(period.FirstDay(), period.LastDay(), period.BarDivisor(), source);
    if (!bars) {
        return Outcome<Energies>::Failure(bars.Reason());
    }
    return Energies(bars->begin(), bars->end());
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
        const auto source = reader.SourceOfSerial(serial);
        if (!source || !*source) {
            problem = !source
                          ? source.Reason()
                          : "no inverter with serial number " + serial + " in the history summary";
            return false;
        }
        columns.push_back({(*source)->name, (*source)->id});
        return true;
    }
    const auto sources = reader.Sources();
    if (!sources) {
        problem = sources.Reason();
        return false;
    }
    columns.push_back({"plant", SummaryReader::PLANT});
    for (const SummarySource& source : *sources) {
        columns.push_back({source.name, source.id});
    }
    return true;
}
// Hour starts of a day, bar keys of a longer period.
std::vector<std::int64_t> RowKeys(const HistoryPeriod& period, const LocalCalendar::Day& day) {
    std::vector<std::int64_t> keys;
    if (period.kind == PeriodKind::DAY) {
        for (std::time_t hour = day.start; hour < day.end; hour += SECONDS_PER_HOUR) {
            keys.push_back(hour);
        }
        return keys;
    }
    for (const int key : period.BarKeys(0, -1)) {
        keys.push_back(key);
    }
    return keys;
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
    const std::vector<std::int64_t> keys = RowKeys(period, day);
    std::vector<std::vector<std::string>> rows{{byHour                             ? "hour"
                                                : period.kind == PeriodKind::MONTH ? "date"
                                                                                   : "month"}};
    std::vector<Energies> energies;
    for (const Column& column : columns) {
        rows[0].push_back(column.name);
        auto energy = byHour ? HourlyEnergy(reader, day, column.source)
                             : PeriodEnergy(reader, period, column.source);
        if (!energy) {
            problem = energy.Reason();
            return false;
        }
        energies.push_back(std::move(*energy));
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
