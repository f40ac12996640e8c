#include "DayCurves.h"

#include "history/SummaryReader.h"
#include "model/InverterGroup.h"
#include "store/CivilDays.h"
#include "store/LocalCalendar.h"
#include "store/PlantDayCurves.h"

#include <cstdio>

std::vector<DayPoint> PlantPowerToday(const PlantDayCurves& curves, std::time_t since) {
    std::vector<DayPoint> power;
    curves.Read(
        [&](const CDaySeries& plant, const CDaySeries&) { power = MinutePoints(plant, since); });
    return power;
}

std::optional<std::vector<DayPoint>> InverterPowerToday(const GroupVisitor& groups,
                                                        const std::string& serial) {
    std::optional<std::vector<DayPoint>> power;
    groups([&](const CInverterGroup& group) {
        auto lock = group.Lock();
        for (const auto& inverter : group.m_inverters) {
            if (!power && inverter->m_strSerialNo == serial) {
                power = MinutePoints(inverter->m_powerGraph);
            }
        }
    });
    return power;
}

// Trapezoids between points; a gap longer than a stretch counts as no power.
std::vector<DayPoint> EnergyCurve(const std::vector<DayPoint>& power) {
    std::vector<DayPoint> energy;
    double kwh = 0.0;
    for (std::size_t i = 0; i < power.size(); ++i) {
        if (i > 0) {
            const double seconds = static_cast<double>(power[i].time - power[i - 1].time);
            if (seconds <= 2.0 * CURVE_STEP_SECONDS) {
                kwh += (power[i].watts + power[i - 1].watts) / 2.0 * seconds / 3.6e6;
            }
        }
        energy.push_back({power[i].time, kwh});
    }
    return energy;
}

SummaryCurve SummaryDayCurve(const std::string& summaryPath, int dayKey,
                             const std::string& serial) {
    SummaryReader reader;
    std::string problem;
    if (!reader.Open(summaryPath, &problem)) {
        return {503, "the history summary cannot be read: " + problem, {}};
    }
    std::int64_t source = SummaryReader::PLANT;
    if (!serial.empty()) {
        const auto found = reader.SourceOfSerial(serial);
        if (!found || !*found) {
            return {found ? 200 : 500, found ? "" : found.Reason(), {}};
        }
        source = (*found)->id;
    }
    const LocalCalendar::Day day = LocalCalendar().Bounds(dayKey);
    const auto points = reader.Curve(day.start, day.end, source);
    if (!points) {
        return {500, points.Reason(), {}};
    }
    SummaryCurve curve;
    for (const CurvePoint& point : *points) {
        curve.power.push_back({point.start, point.meanW, point.meanW, point.meanW});
    }
    return curve;
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
