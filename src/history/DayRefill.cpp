#include "DayRefill.h"

#include "HistoryTail.h"
#include "InverterPast.h"
#include "PlantPast.h"
#include "SummaryAccumulator.h"
#include "SummaryKeeper.h"
#include "SummaryReader.h"
#include "SummarySchema.h"
#include "comm/CommShared.h"
#include "platform/DataDirectory.h"
#include "platform/Log.h"
#include "store/HistoryFileName.h"
#include "store/LocalCalendar.h"
#include "store/PlantDayCurves.h"

#include <chrono>
#include <cstdio>
#include <unordered_map>

namespace {
// A full bus's polling cycle at the read deadline: how long past two
// sampling intervals a reading counts as fresh, as the station's rule has it.
constexpr std::time_t CYCLE_SECONDS = 8;

std::string SecondsText(std::chrono::steady_clock::duration elapsed) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", std::chrono::duration<double>(elapsed).count());
    return text;
}

// The plant's spans from every inverter's spans in the summary.
bool PlantFromSummary(SummaryReader& summary, PlantPast& past,
                      std::unordered_map<std::int64_t, std::string>& serials,
                      const LocalCalendar::Day& day) {
    const auto sources = summary.Sources();
    const auto visited =
        summary.VisitSpans(day.start, day.end,
                           [&](std::int64_t source, const SpanRow& row) { past.Add(source, row); });
    if (!sources || !visited) {
        Log(LogLevel::Warning, "today's plant curves are not read back: " +
                                   (sources ? visited.Reason() : sources.Reason()));
        return false;
    }
    for (const SummarySource& source : *sources) {
        serials[source.id] = source.name;
    }
    return true;
}

// The same from today's lines of every history file, one file at a time.
void PlantFromFiles(const std::string& directory, PlantPast& past,
                    std::unordered_map<std::int64_t, std::string>& serials,
                    const LocalCalendar::Day& day) {
    std::int64_t source = 0;
    for (const std::string& file : HistoryFiles(directory)) {
        SummaryAccumulator spans(SourceState{}, day.start);
        HistoryTail::Read(directory + "/" + file, day.start, [&](const SummarySample& sample) {
            if (sample.time < day.end) {
                spans.Add(sample);
            }
        });
        ++source;
        for (const SpanRow& row : spans.TakeSpans()) {
            past.Add(source, row);
        }
        serials[source] = SerialOfHistoryFileName(file).value_or(file);
    }
}
} // namespace

DayRefill::~DayRefill() {
    Stop();
}

void DayRefill::Start(PlantDayCurves& plantCurves) {
    std::lock_guard lock(m_lock);
    if (m_thread.joinable()) {
        return;
    }
    plantCurves.AwaitPast();
    m_stop = false;
    m_thread = std::thread(&DayRefill::Run, this, std::ref(plantCurves));
}

void DayRefill::Stop() {
    {
        std::lock_guard lock(m_lock);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
    std::lock_guard lock(m_lock);
    m_requests.clear();
    m_ready.clear();
    m_nReady = 0;
}

void DayRefill::Ask(const std::string& historyFileName, std::time_t before) {
    {
        std::lock_guard lock(m_lock);
        m_requests.push_back({historyFileName, before});
    }
    m_wake.notify_all();
}

std::optional<CDaySeries> DayRefill::Take(const std::string& historyFileName) {
    if (m_nReady.load() == 0) {
        return std::nullopt;
    }
    std::lock_guard lock(m_lock);
    const auto found = m_ready.find(historyFileName);
    if (found == m_ready.end()) {
        return std::nullopt;
    }
    std::optional<CDaySeries> past(std::move(found->second));
    m_ready.erase(found);
    --m_nReady;
    return past;
}

bool DayRefill::Stopping() {
    std::lock_guard lock(m_lock);
    return m_stop;
}

bool DayRefill::NextRequest(Request& request) {
    std::unique_lock lock(m_lock);
    m_wake.wait(lock, [&] { return m_stop || !m_requests.empty(); });
    if (m_stop) {
        return false;
    }
    request = std::move(m_requests.front());
    m_requests.pop_front();
    return true;
}

void DayRefill::Run(PlantDayCurves& plantCurves) {
    if (m_gate) {
        m_gate();
    }
    SummaryReader reader;
    PastSources sources{nullptr, 0, HistLogDirectory()};
    switch (m_keeper.WaitUntilOpen()) {
    case SummaryKeeper::Readiness::READY: {
        std::string problem;
        const auto since = reader.Open(SummaryPath(), &problem)
                               ? reader.SpansSince()
                               : Outcome<std::time_t>::Failure(problem);
        if (since) {
            sources.summary = &reader;
            sources.spansSince = *since;
        } else {
            Log(LogLevel::Warning,
                "today's curves are read from the history files: " + since.Reason());
        }
        break;
    }
    case SummaryKeeper::Readiness::REBUILDING:
        Log(LogLevel::Info, "today's curves are read from the history files while the history "
                            "summary is built anew");
        break;
    case SummaryKeeper::Readiness::UNAVAILABLE: break;
    }
    if (Stopping()) {
        return;
    }
    RefillPlant(plantCurves, sources);
    Request request;
    while (NextRequest(request)) {
        CDaySeries past = ReadInverterPast(sources, request.historyFileName, request.before);
        std::lock_guard lock(m_lock);
        m_ready.insert_or_assign(request.historyFileName, std::move(past));
        m_nReady = m_ready.size();
    }
}

void DayRefill::RefillPlant(PlantDayCurves& plantCurves, const PastSources& sources) const {
    const auto started = std::chrono::steady_clock::now();
    LocalCalendar calendar;
    const LocalCalendar::Day day = calendar.Bounds(calendar.DayKeyOf(std::time(nullptr)));
    const std::time_t stale = 2 * std::time_t{g_nInterval.load()} + CYCLE_SECONDS;
    PlantPast past(day.start, day.end - 1, stale);
    std::unordered_map<std::int64_t, std::string> serials;
    const bool fromSummary = sources.summary != nullptr && sources.spansSince <= day.start &&
                             PlantFromSummary(*sources.summary, past, serials, day);
    if (!fromSummary) {
        past = PlantPast(day.start, day.end - 1, stale);
        serials.clear();
        PlantFromFiles(sources.histLogDirectory, past, serials, day);
    }
    past.Finish();
    std::vector<PlantDayCurves::InverterEnergy> reached;
    for (const auto& [source, kWh] : past.Reached()) {
        if (const auto serial = serials.find(source); serial != serials.end()) {
            reached.push_back({serial->second, kWh});
        }
    }
    plantCurves.AddPast(past.Power(), past.Energy(), reached);
    Log(LogLevel::Info, std::string("today's plant curves were read back from the ") +
                            (fromSummary ? "history summary" : "history files") + " in " +
                            SecondsText(std::chrono::steady_clock::now() - started));
}
