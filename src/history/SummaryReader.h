#pragma once

#include "SqliteDb.h"
#include "SummaryRows.h"
#include "platform/Outcome.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// An inverter as the summary knows it: by its history file.
struct SummarySource {
    std::int64_t id = 0;
    std::string name; // the history file's name without ".csv"
};

// One 5-minute stretch of a day curve.
struct CurvePoint {
    std::time_t start = 0;
    double meanW = 0.0;
    std::int64_t maxW = -1; // -1 for the plant, whose maximum is not kept
    std::int64_t energyWh = 0;
};

// How far the summary has read one history file.
struct FileReach {
    std::int64_t source = 0;
    std::time_t lastTime = 0; // of the last sample read; 0 before any
};

struct PeakPower {
    std::int64_t watts = -1; // -1: no sample in the period
    std::time_t time = 0;
};

// Read-only queries of the summary. Source 0 stands for the whole plant. A
// query that fails gives the reason, naming the summary's file.
class SummaryReader {
public:
    static constexpr std::int64_t PLANT = 0;

    [[nodiscard]] bool Open(const std::string& path, std::string* problem);
    // The inverters with samples, by name.
    Outcome<std::vector<SummarySource>> Sources();
    // The inverter whose history file a serial number names; nothing if none.
    Outcome<std::optional<SummarySource>> SourceOfSerial(const std::string& serialNo);
    // Energy by bar key (day key / divisor) over the days from first to last.
    Outcome<std::map<int, std::int64_t>> Energy(int firstDay, int lastDay, int divisor,
                                                std::int64_t source);
    // The same for every inverter at once.
    Outcome<std::map<std::int64_t, std::map<int, std::int64_t>>>
    EnergyBySource(int firstDay, int lastDay, int divisor);
    // The stretches with samples from start up to end.
    Outcome<std::vector<CurvePoint>> Curve(std::time_t start, std::time_t end, std::int64_t source);
    // An inverter's highest sample; the plant's highest 5-minute mean.
    Outcome<PeakPower> Peak(int firstDay, int lastDay, std::time_t start, std::time_t end,
                            std::int64_t source);
    // The first and last day with samples; 0 and 0 when there are none.
    Outcome<std::pair<int, int>> DaysWithData();
    // From when on every sample read has its span.
    Outcome<std::time_t> SpansSince();
    // Nothing when the summary has not read the file yet.
    Outcome<std::optional<FileReach>> ReachOf(const std::string& historyFileName);
    // One inverter's spans from start up to end, in time order.
    Outcome<std::vector<SpanRow>> Spans(std::int64_t source, std::time_t start, std::time_t end);
    // Every inverter's spans from start up to end, by inverter, each in time
    // order; true once all were visited.
    Outcome<bool> VisitSpans(std::time_t start, std::time_t end,
                             const std::function<void(std::int64_t source, const SpanRow&)>& visit);

private:
    template <class T>
    Outcome<T> Finished(const SqliteStatement& query, T value) const;

    SqliteDb m_db;
    std::string m_path;
};
