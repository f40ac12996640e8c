#include "PeriodBars.h"

#include "history/PeriodFigures.h"
#include "history/SummaryReader.h"
#include "store/BusText.h"
#include "store/CivilDays.h"

#include <QJsonArray>
#include <algorithm>

namespace {
constexpr int FIRST_YEAR = 1970;
constexpr double WH_PER_KWH = 1000.0;

double Kwh(std::int64_t wattHours) {
    return static_cast<double>(wattHours) / WH_PER_KWH;
}

QJsonArray BarsJson(const PeriodFigures& figures, int divisor) {
    QJsonArray bars;
    for (const int key : figures.barKeys) {
        const auto found = figures.bars.find(key);
        bars.append(
            QJsonObject{{"date", QString::fromStdString(PeriodKeyText(key, divisor))},
                        {"energy", found == figures.bars.end() ? 0.0 : Kwh(found->second)}});
    }
    return bars;
}

QJsonValue PeakJson(const PeakPower& peak) {
    if (peak.watts < 0) {
        return QJsonValue::Null;
    }
    return QJsonObject{{"watts", static_cast<double>(peak.watts)},
                       {"time", static_cast<double>(peak.time)}};
}

QJsonValue BestDayJson(const PeriodFigures& figures) {
    if (figures.bestDay == 0) {
        return QJsonValue::Null;
    }
    return QJsonObject{{"date", QString::fromStdString(PeriodKeyText(figures.bestDay, 1))},
                       {"energy", Kwh(figures.bestDayWh)}};
}

QJsonArray SerialsJson(const std::vector<SummarySource>& sources) {
    QJsonArray serials;
    for (const SummarySource& source : sources) {
        serials.append(BusText(source.name));
    }
    return serials;
}
} // namespace

std::optional<HistoryPeriod> PeriodOfText(const std::string& text, PeriodKind kind) {
    const std::size_t length = kind == PeriodKind::MONTH ? 7 : 4;
    const std::optional<int> first =
        text.size() == length ? ParsePeriodDate(text, kind) : std::nullopt;
    if (!first || CivilDays::YearOf(*first) < FIRST_YEAR) {
        return std::nullopt;
    }
    return HistoryPeriod{kind, *first};
}

PeriodAnswer SummaryPeriodBars(const std::string& summaryPath, const HistoryPeriod& period,
                               const std::string& serial) {
    SummaryReader reader;
    std::string problem;
    if (!reader.Open(summaryPath, &problem)) {
        return {503, "the history summary cannot be read: " + problem, {}};
    }
    const auto sources = reader.Sources();
    if (!sources) {
        return {500, sources.Reason(), {}};
    }
    std::int64_t source = SummaryReader::PLANT;
    if (!serial.empty()) {
        const auto found =
            std::find_if(sources->begin(), sources->end(),
                         [&](const SummarySource& known) { return known.name == serial; });
        if (found == sources->end()) {
            return {
                404, "no inverter with serial number " + serial + " in the history summary", {}};
        }
        source = found->id;
    }
    const auto figures = LoadPeriodFigures(reader, period, source);
    if (!figures) {
        return {500, figures.Reason(), {}};
    }
    return {200,
            "",
            {{"period", QString::fromStdString(period.Label())},
             {"serial", BusText(serial)},
             {"serials", SerialsJson(*sources)},
             {"energy", Kwh(figures->energyWh)},
             {"peak", PeakJson(figures->peak)},
             {"best_day", BestDayJson(*figures)},
             {"bars", BarsJson(*figures, period.BarDivisor())}}};
}
