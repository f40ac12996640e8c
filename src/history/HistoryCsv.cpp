#include "HistoryCsv.h"

#include "SummaryReader.h"
#include "SummaryRows.h"
#include "SummaryText.h"
#include "platform/TimeText.h"
#include "store/CsvField.h"
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

Outcome<std::string> DayCsv(SummaryReader& reader, const HistoryPeriod& period,
                            std::int64_t source) {
    const LocalCalendar::Day day = LocalCalendar().Bounds(period.anchor);
    const auto curve = reader.Curve(day.start, day.end, source);
    if (!curve) {
        return Outcome<std::string>::Failure(curve.Reason());
    }
    std::map<std::time_t, CurvePoint> points;
    for (const CurvePoint& point : *curve) {
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

// The plant's file has a column per inverter.
struct Columns {
    std::vector<SummarySource> sources;
    std::map<std::int64_t, std::map<int, std::int64_t>> energy;
};

Outcome<Columns> ColumnsOf(SummaryReader& reader, const HistoryPeriod& period,
                           std::int64_t source) {
    if (source != SummaryReader::PLANT) {
        return Columns{};
    }
    auto sources = reader.Sources();
    auto energy = reader.EnergyBySource(period.FirstDay(), period.LastDay(), period.BarDivisor());
    if (!sources || !energy) {
        return Outcome<Columns>::Failure(!sources ? sources.Reason() : energy.Reason());
    }
    return Columns{std::move(*sources), std::move(*energy)};
}

Outcome<std::string> LongerCsv(SummaryReader& reader, const HistoryPeriod& period,
                               std::int64_t source) {
    const int divisor = period.BarDivisor();
    const auto data = reader.DaysWithData();
    const auto total = reader.Energy(period.FirstDay(), period.LastDay(), divisor, source);
    auto columns = ColumnsOf(reader, period, source);
    if (!data || !total || !columns) {
        return Outcome<std::string>::Failure(!data    ? data.Reason()
                                             : !total ? total.Reason()
                                                      : columns.Reason());
    }
    const std::vector<int> keys = period.BarKeys(data->first / 10000, data->second / 10000);
    const char* keyName = divisor == 1 ? "date" : divisor == 100 ? "month" : "year";
    std::vector<std::string> header{keyName, "energy (kWh)"};
    for (const SummarySource& column : columns->sources) {
        header.push_back(column.name + " energy (kWh)");
    }
    std::string csv = Row(header);
    for (const int key : keys) {
        std::vector<std::string> fields{PeriodKeyText(key, divisor), EnergyCell(*total, key)};
        for (const SummarySource& column : columns->sources) {
            fields.push_back(EnergyCell((*columns).energy[column.id], key));
        }
        csv += Row(fields);
    }
    return csv;
}
} // namespace

Outcome<std::string> HistoryCsv(SummaryReader& reader, const HistoryPeriod& period,
                                std::int64_t source) {
    return period.kind == PeriodKind::DAY ? DayCsv(reader, period, source)
                                          : LongerCsv(reader, period, source);
}
