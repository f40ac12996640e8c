#include "DayCurves.h"

#include "history/SummaryReader.h"
#include "model/InverterGroup.h"
#include "store/CivilDays.h"
#include "store/LocalCalendar.h"
#include "store/PlantDayCurves.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace {
constexpr double SECONDS_PER_HOUR = 3600.0;
constexpr double WH_PER_KWH = 1000.0;
constexpr int POWER_DECIMALS = 1;  // W
constexpr int ENERGY_DECIMALS = 3; // kWh: whole Wh

std::time_t MinuteStart(std::time_t time) {
    return time - ((time % TODAY_STEP_SECONDS) + TODAY_STEP_SECONDS) % TODAY_STEP_SECONDS;
}

// A series' buckets joined by minute: the mean of all their samples, the
// lowest and highest of them.
std::vector<PowerRow> MinutesOf(const CDaySeries& series) {
    std::vector<PowerRow> rows;
    rows.reserve(series.Buckets().size());
    double sum = 0.0;
    double count = 0.0;
    for (const CTimeBucket& bucket : series.Buckets()) {
        const std::time_t minute = MinuteStart(bucket.Start());
        if (rows.empty() || rows.back().time != minute) {
            rows.push_back({minute, 0.0, bucket.m_fMin, bucket.m_fMax});
            sum = 0.0;
            count = 0.0;
        }
        PowerRow& row = rows.back();
        sum += bucket.m_fSum;
        count += bucket.m_nCount;
        row.meanW = count > 0 ? sum / count : 0.0;
        row.minW = std::min<double>(*row.minW, bucket.m_fMin);
        row.maxW = std::max<double>(*row.maxW, bucket.m_fMax);
    }
    return rows;
}

DayCurve PlantToday(const PlantDayCurves& plantCurves) {
    DayCurve curve;
    plantCurves.Read([&](const CDaySeries& power, const CDaySeries& energy) {
        curve.power = MinutesOf(power);
        for (const PowerRow& minute : MinutesOf(energy)) {
            curve.energy.push_back({minute.time, *minute.maxW});
        }
    });
    return curve;
}

DayCurve InverterToday(const GroupVisitor& groups, const std::string& serial) {
    DayCurve curve;
    bool found = false;
    groups([&](const CInverterGroup& group) {
        auto lock = group.Lock();
        for (const auto& inverter : group.m_inverters) {
            if (!found && inverter->m_strSerialNo == serial) {
                found = true;
                curve.power = MinutesOf(inverter->m_powerGraph);
            }
        }
    });
    if (!found) {
        return {404, "no inverter with this serial number", TODAY_STEP_SECONDS, {}, {}};
    }
    curve.energy = EnergyOfPower(curve.power, TODAY_STEP_SECONDS);
    return curve;
}

DayCurve PastDay(const std::string& summaryPath, int dayKey, const std::string& serial) {
    DayCurve curve;
    curve.stepSeconds = SUMMARY_STEP_SECONDS;
    SummaryReader reader;
    std::string problem;
    if (!reader.Open(summaryPath, &problem)) {
        return {
            503, "the history summary cannot be read: " + problem, SUMMARY_STEP_SECONDS, {}, {}};
    }
    std::int64_t source = SummaryReader::PLANT;
    if (!serial.empty()) {
        const auto found = reader.SourceOfSerial(serial);
        if (!found || !*found) {
            return {found ? 200 : 500, found ? "" : found.Reason(), SUMMARY_STEP_SECONDS, {}, {}};
        }
        source = (*found)->id;
    }
    const LocalCalendar::Day day = LocalCalendar().Bounds(dayKey);
    const auto points = reader.Curve(day.start, day.end, source);
    if (!points) {
        return {500, points.Reason(), SUMMARY_STEP_SECONDS, {}, {}};
    }
    std::int64_t wattHours = 0;
    for (const CurvePoint& point : *points) {
        const std::optional<double> max =
            point.maxW >= 0 ? std::optional<double>(static_cast<double>(point.maxW)) : std::nullopt;
        curve.power.push_back({point.start, point.meanW, std::nullopt, max});
        wattHours += point.energyWh;
        curve.energy.push_back({point.start, static_cast<double>(wattHours) / WH_PER_KWH});
    }
    return curve;
}

void AppendNumber(std::string& text, double value, int decimals) {
    char digits[32];
    const auto written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    text.append(digits, written.ptr);
}

void AppendOptional(std::string& text, const std::optional<double>& value) {
    text += ',';
    if (value) {
        AppendNumber(text, *value, POWER_DECIMALS);
    } else {
        text += "null";
    }
}
} // namespace

DayCurve ReadDayCurve(const DayCurveSources& sources, int dayKey, const std::string& serial) {
    if (dayKey != TodayKey()) {
        return PastDay(sources.summaryFile, dayKey, serial);
    }
    if (!serial.empty()) {
        return InverterToday(sources.groups, serial);
    }
    return sources.plantCurves != nullptr ? PlantToday(*sources.plantCurves) : DayCurve{};
}

std::string DayCurveJson(const DayCurve& curve) {
    std::string text = "{\"step\":" + std::to_string(curve.stepSeconds) + ",\"power\":[";
    text.reserve(text.size() + curve.power.size() * 40 + curve.energy.size() * 24);
    for (std::size_t i = 0; i < curve.power.size(); ++i) {
        const PowerRow& row = curve.power[i];
        text += i == 0 ? "[" : ",[";
        text += std::to_string(row.time);
        text += ',';
        AppendNumber(text, row.meanW, POWER_DECIMALS);
        AppendOptional(text, row.minW);
        AppendOptional(text, row.maxW);
        text += ']';
    }
    text += "],\"energy\":[";
    for (std::size_t i = 0; i < curve.energy.size(); ++i) {
        text += i == 0 ? "[" : ",[";
        text += std::to_string(curve.energy[i].time);
        text += ',';
        AppendNumber(text, curve.energy[i].kWh, ENERGY_DECIMALS);
        text += ']';
    }
    text += "]}";
    return text;
}

// Trapezoids between the stretches' means, each mean standing for the middle
// of its stretch.
std::vector<EnergyPoint> EnergyOfPower(const std::vector<PowerRow>& power, int stepSeconds) {
    std::vector<EnergyPoint> energy;
    energy.reserve(power.size());
    double kWh = 0.0;
    for (std::size_t i = 0; i < power.size(); ++i) {
        if (i > 0) {
            const auto seconds = static_cast<double>(power[i].time - power[i - 1].time);
            if (seconds <= 2.0 * stepSeconds) {
                kWh += (power[i].meanW + power[i - 1].meanW) / 2.0 * seconds /
                       (SECONDS_PER_HOUR * WH_PER_KWH);
            }
        }
        energy.push_back({power[i].time, kWh});
    }
    return energy;
}

std::optional<int> DayKeyOfText(const std::string& text) {
    int year = 0;
    int month = 0;
    int day = 0;
    char end = 0;
    if (text.size() != 10 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &end) != 3 || year < 1970 ||
        month < 1 || month > 12 || day < 1 || day > CivilDays::DaysInMonth(year, month)) {
        return std::nullopt;
    }
    return CivilDays::Key(year, month, day);
}

int TodayKey() {
    LocalCalendar calendar;
    return calendar.DayKeyOf(std::time(nullptr));
}
