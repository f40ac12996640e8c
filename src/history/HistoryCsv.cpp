#include "HistoryCsv.h"

#include "SummaryReader.h"
#include "SummaryRows.h"
#include "SummaryText.h"
#include "platform/TimeText.h"
#include "store/LocalCalendar.h"

#include <cstdio>
#include <map>
#include <vector>

namespace {
constexpr int CSV_KWH_DECIMALS = 3;

std::string Row(const std::vector<std::string>& fields) {
    std::string row;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        row += (i == 0 ? "" : ",") + CsvField(fields[i]);
    }
    return row + "\r\n";
}

std::string MeanText(double watts) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", watts);
    return text;
}

std::string DayCsv(SummaryReader& reader, const HistoryPeriod& period, std::int64_t source) {
    const LocalCalendar::Day day = LocalCalendar().Bounds(period.anchor);
    std::map<std::time_t, CurvePoint> points;
    for (const CurvePoint& point : reader.Curve(day.start, day.end, source)) {
        points.emplace(point.start, point);
    }
    const bool plant = source == SummaryReader::PLANT;
    std::string csv =
        plant ? Row({"start", "end", "mean power (W)", "energy (kWh)"})
              : Row({"start", "end", "mean power (W)", "maximum power (W)", "energy (kWh)"});
    for (std::time_t start = day.start; start < day.end; start += BUCKET_SECONDS) {
        std::vector<std::string> fields{IsoTimeText(start), IsoTimeText(start + BUCKET_SECONDS)};
        const auto found = points.find(start);
        const bool any = found != points.end();
        fields.push_back(any ? MeanText(found->second.meanW) : "");
        if (!plant) {
            fields.push_back(any ? std::to_string(found->second.maxW) : "");
        }
        fields.push_back(any ? KilowattHoursText(found->second.energyWh, CSV_KWH_DECIMALS) : "");
        csv += Row(fields);
    }
    return csv;
}

std::string EnergyCell(const std::map<int, std::int64_t>& energy, int key) {
    const auto found = energy.find(key);
    return found == energy.end() ? "" : KilowattHoursText(found->second, CSV_KWH_DECIMALS);
}

std::string LongerCsv(SummaryReader& reader, const HistoryPeriod& period, std::int64_t source) {
    const int divisor = period.BarDivisor();
    const auto [firstDay, lastDay] = reader.DaysWithData();
    const std::vector<int> keys = period.BarKeys(firstDay / 10000, lastDay / 10000);
    const std::map<int, std::int64_t> total =
        reader.Energy(period.FirstDay(), period.LastDay(), divisor, source);
    const char* keyName = divisor == 1 ? "date" : divisor == 100 ? "month" : "year";
    std::vector<std::string> header{keyName, "energy (kWh)"};
    std::vector<SummarySource> columns;
    std::map<std::int64_t, std::map<int, std::int64_t>> bySource;
    if (source == SummaryReader::PLANT) {
        columns = reader.Sources();
        bySource = reader.EnergyBySource(period.FirstDay(), period.LastDay(), divisor);
        for (const SummarySource& column : columns) {
            header.push_back(column.name + " energy (kWh)");
        }
    }
    std::string csv = Row(header);
    for (const int key : keys) {
        std::vector<std::string> fields{PeriodKeyText(key, divisor), EnergyCell(total, key)};
        for (const SummarySource& column : columns) {
            fields.push_back(EnergyCell(bySource[column.id], key));
        }
        csv += Row(fields);
    }
    return csv;
}
} // namespace

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

std::string HistoryCsv(SummaryReader& reader, const HistoryPeriod& period, std::int64_t source) {
    return period.kind == PeriodKind::DAY ? DayCsv(reader, period, source)
                                          : LongerCsv(reader, period, source);
}
